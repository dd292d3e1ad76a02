#include "sprites/FrogDrawing.h"

using platform::BitBlt;
using platform::SRCAND;
using platform::SRCCOPY;
using platform::SRCINVERT;

FrogDrawing::FrogDrawing(platform::Platform& platform, QWindow& window, QImage& canvas,
                         const SpriteSet& sprites)
    : platform_(platform), window_(window), canvas_(canvas), sprites_(sprites)
{
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
    BitBlt(canvas_, frog.DrawnX, frog.DrawnY, CellSize, CellSize, savedBackground(frog.kind), 0, 0,
           SRCCOPY);
}

void FrogDrawing::StampMask(int k, std::int16_t x, std::int16_t y)
{
    BitBlt(canvas_, x, y, CellSize, CellSize, sprites_.mask.at(k - 1), 0, 0, SRCAND);
}

void FrogDrawing::SaveBackground(const FrogSprite& frog, std::int16_t x, std::int16_t y)
{
    // The part of the cell off the canvas is not copied: the buffer keeps
    // whatever it held there, and a restore never draws it (clipped again).
    BitBlt(savedBackground(frog.kind), 0, 0, CellSize, CellSize, canvas_, x, y, SRCCOPY);
}

void FrogDrawing::ComposeFrame(const FrogSprite& frog, int k)
{
    // Background, then a black silhouette, then the frog XORed into it: the
    // mask alone decides transparency, so black pixels of the frog stay black.
    BitBlt(PicFrogMix, 0, 0, CellSize, CellSize, savedBackground(frog.kind), 0, 0, SRCCOPY);
    BitBlt(PicFrogMix, 0, 0, CellSize, CellSize, sprites_.mask.at(k - 1), 0, 0, SRCAND);
    BitBlt(PicFrogMix, 0, 0, CellSize, CellSize, frame(frog.kind, k), 0, 0, SRCINVERT);
}

void FrogDrawing::PresentFrame(FrogSprite& frog, std::int16_t x, std::int16_t y)
{
    BitBlt(canvas_, x, y, CellSize, CellSize, PicFrogMix, 0, 0, SRCCOPY);
    // The step restored and stamped the old cell and drew the new one;
    // nothing else on the canvas changed.
    const QRect changed = cell(frog.DrawnX, frog.DrawnY).united(cell(x, y)) & canvas_.rect();
    frog.DrawnX = x;
    frog.DrawnY = y;
    platform_.refresh(window_, canvas_, changed);
}
