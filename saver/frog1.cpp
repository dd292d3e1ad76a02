#include "saver/frog1.h"

#include "platform/BitBlt.h"
#include "startup/Cursor.h"
#include "startup/Globals.h"
#include "startup/SnapDesktop.h"

#include <QMouseEvent>
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

frog1::frog1(platform::Platform& platform, const SpriteSet& sprites)
    : platform_(platform),
      // Left unfilled: Load's snapshot sets every pixel, and most often
      // replaces the buffer with the screen copy, so filling it would be wasted.
      canvas_(platform.screenPixels(), QImage::Format_RGB32),
      drawing_(platform, *this, canvas_, sprites), jumps_(platform, drawing_),
      scheduler_(platform, *this, drawing_, jumps_, GreenFrog, RedFrog)
{
    // A plain window, not a widget: every paint puts its rectangle from the
    // canvas onto the screen itself, so the canvas is the only screen-sized
    // image and no widget style or palette is ever set up.
    // Outside the window manager's reach (override-redirect), like every
    // screen saver on X11: its place is the whole root window, all monitors
    // together, and no panel of the window manager's is stacked above it.
    setFlags(Qt::Window | Qt::FramelessWindowHint | Qt::BypassWindowManagerHint);
    setSurfaceType(QSurface::RasterSurface);
    setTitle(QStringLiteral("frog"));
    setGeometry(QRect(QPoint(0, 0), canvas_.size()));
    platform_.onScreenResize([this](QSize size) { screenResized(size); });
    Load();
}

void frog1::Load()
{
    platform_.rtcRandomize();
    placeFrog(GreenFrog, FrogKind::Green, 175);
    placeFrog(RedFrog, FrogKind::Red, 326);
    SnapDesktop(platform_, canvas_);
    if (SaverSettings.Blank)
        canvas_.fill(Qt::black);
}

void frog1::screenResized(QSize size)
{
    // What is drawn stays where it is; new ground is black.
    QImage resized(size, QImage::Format_RGB32);
    resized.fill(Qt::black);
    platform::BitBlt(resized, 0, 0, canvas_.width(), canvas_.height(), canvas_, 0, 0,
                     platform::SRCCOPY);
    canvas_ = std::move(resized);
    setGeometry(QRect(QPoint(0, 0), size));
    platform_.refresh(*this, canvas_, canvas_.rect());
}

void frog1::paintEvent(QPaintEvent* event)
{
    platform_.refresh(*this, canvas_, event->rect());
}

void frog1::keyPressEvent(QKeyEvent*)
{
    EndSaver(platform_, this);
}

void frog1::mousePressEvent(QMouseEvent*)
{
    EndSaver(platform_, this);
}

void frog1::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF at = event->position();
    if (pointer_.moveEnds(float(at.x()), float(at.y())))
        EndSaver(platform_, this);
}
