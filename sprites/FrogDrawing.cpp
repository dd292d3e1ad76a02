#include "sprites/FrogDrawing.h"

#include "sprites/Blend.h"

#include <cmath>

using platform::BitBlt;
using platform::SRCAND;
using platform::SRCCOPY;
using platform::SRCINVERT;

FrogDrawing::FrogDrawing(platform::WindowCanvas& canvas, const SpriteSet& sprites)
    : PicFrogTemp(platform::makeSurface(sprites.cell, sprites.cell)),
      PicRedFrogTemp(platform::makeSurface(sprites.cell, sprites.cell)),
      PicFrogMix(platform::makeSurface(sprites.cell, sprites.cell)), canvas_(canvas),
      sprites_(sprites)
{
}

QSize FrogDrawing::inFrogPixels(QSize size) const
{
    return {int(size.width() / sprites_.scale), int(size.height() / sprites_.scale)};
}

int FrogDrawing::onCanvas(std::int16_t at) const
{
    return int(std::lround(at * sprites_.scale));
}

QRect FrogDrawing::cell(std::int16_t x, std::int16_t y) const
{
    return {onCanvas(x), onCanvas(y), sprites_.cell, sprites_.cell};
}

void FrogDrawing::applyMask(QImage& target, int x, int y, int k)
{
    const QImage& mask = sprites_.mask.at(k - 1);
    if (sprites_.blended)
        multiplyBlock(target, x, y, mask);
    else
        BitBlt(target, x, y, sprites_.cell, sprites_.cell, mask, 0, 0, SRCAND);
}

QImage& FrogDrawing::savedBackground(FrogKind kind)
{
    return kind == FrogKind::Green ? PicFrogTemp : PicRedFrogTemp;
}

const QImage& FrogDrawing::frame(FrogKind kind, int k) const
{
    return (kind == FrogKind::Green ? sprites_.green : sprites_.red).at(k - 1);
}

void FrogDrawing::RestoreBackground(const FrogSprite& frog)
{
    const QRect at = cell(frog.DrawnX, frog.DrawnY);
    BitBlt(picture(), at.x(), at.y(), at.width(), at.height(), savedBackground(frog.kind), 0, 0,
           SRCCOPY);
}

void FrogDrawing::StampMask(int k, std::int16_t x, std::int16_t y)
{
    applyMask(picture(), onCanvas(x), onCanvas(y), k);
}

void FrogDrawing::SaveBackground(const FrogSprite& frog, std::int16_t x, std::int16_t y)
{
    // The part of the cell off the canvas is not copied: the buffer keeps
    // whatever it held there, and a restore never draws it (clipped again).
    const QRect at = cell(x, y);
    BitBlt(savedBackground(frog.kind), 0, 0, at.width(), at.height(), picture(), at.x(), at.y(),
           SRCCOPY);
}

void FrogDrawing::ComposeFrame(const FrogSprite& frog, int k)
{
    // Background, then a black silhouette, then the frog XORed into it: the
    // mask alone decides transparency, so black pixels of the frog stay black.
    // A blended set's grey edges let part of the ground through, and the
    // frame's darkened edge is added to that part.
    const int side = sprites_.cell;
    BitBlt(PicFrogMix, 0, 0, side, side, savedBackground(frog.kind), 0, 0, SRCCOPY);
    applyMask(PicFrogMix, 0, 0, k);
    if (sprites_.blended)
        addBlock(PicFrogMix, 0, 0, frame(frog.kind, k));
    else
        BitBlt(PicFrogMix, 0, 0, side, side, frame(frog.kind, k), 0, 0, SRCINVERT);
}

void FrogDrawing::PresentFrame(FrogSprite& frog, std::int16_t x, std::int16_t y)
{
    const QRect at = cell(x, y);
    BitBlt(picture(), at.x(), at.y(), at.width(), at.height(), PicFrogMix, 0, 0, SRCCOPY);
    // The step restored and stamped the old cell and drew the new one;
    // nothing else on the canvas changed.
    const QRect changed = cell(frog.DrawnX, frog.DrawnY).united(at) & picture().rect();
    frog.DrawnX = x;
    frog.DrawnY = y;
    canvas_.refresh(changed);
}
