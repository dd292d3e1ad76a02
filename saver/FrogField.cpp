#include "saver/FrogField.h"

#include "platform/BitBlt.h"

#include <QPaintEvent>

namespace {

void placeFrog(FrogState& frog, FrogKind kind, float at)
{
    frog.kind = kind;
    frog.X = frog.Y = at;
    frog.DrawnX = toInt16(frog.X);
    frog.DrawnY = toInt16(frog.Y);
    frog.RestFrame = 1;
}

} // namespace

FrogField::FrogField(platform::Platform& platform, const SpriteSet& sprites, QSize size,
                     QWindow* parent)
    : QWindow(parent), platform_(platform), canvas_(platform.showCanvas(*this, size)),
      sprites_(sprites), drawing_(*canvas_, sprites), jumps_(platform, drawing_),
      scheduler_(platform, *this, drawing_, jumps_, GreenFrog, RedFrog)
{
    // A plain window, not a widget: every paint puts its rectangle from the
    // canvas onto the screen itself, so the canvas is the only window-sized
    // image and no widget style or palette is ever set up.
    setSurfaceType(QSurface::RasterSurface);
    setGeometry(QRect(QPoint(0, 0), size));
}

void FrogField::placeFrogs()
{
    platform_.rtcRandomize();
    placeFrog(GreenFrog, FrogKind::Green, 175);
    placeFrog(RedFrog, FrogKind::Red, 326);
}

void FrogField::growOrShrink(QSize size)
{
    QImage resized(size, QImage::Format_RGB32);
    resized.fill(Qt::black);
    const QImage& drawn = canvas_->image();
    platform::BitBlt(resized, 0, 0, drawn.width(), drawn.height(), drawn, 0, 0, platform::SRCCOPY);
    canvas_->replace(std::move(resized));
    setGeometry(QRect(QPoint(0, 0), size));
    canvas_->refresh(canvas_->image().rect());
}

void FrogField::replaceGround(QImage ground)
{
    canvas_->replace(std::move(ground));
    // Each frog takes the new ground under it as its saved background.
    for (FrogState* frog : {&GreenFrog, &RedFrog}) {
        drawing_.SaveBackground(*frog, frog->DrawnX, frog->DrawnY);
        drawing_.ComposeFrame(*frog, frog->RestFrame);
        drawing_.PresentFrame(*frog, frog->DrawnX, frog->DrawnY);
    }
    canvas_->refresh(canvas_->image().rect());
}

void FrogField::paintEvent(QPaintEvent* event)
{
    canvas_->refresh(event->rect());
}
