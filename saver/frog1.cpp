#include "saver/frog1.h"

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
    setFlags(Qt::Window | Qt::FramelessWindowHint);
    setSurfaceType(QSurface::RasterSurface);
    setTitle(QStringLiteral("frog"));
    // Without a window manager only an explicit geometry covers the screen.
    setGeometry(QRect(QPoint(0, 0), canvas_.size()));
    setWindowState(Qt::WindowFullScreen);
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
