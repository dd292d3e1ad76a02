#include "saver/frog1.h"

#include "startup/Cursor.h"
#include "startup/Globals.h"
#include "startup/SnapDesktop.h"

#include <QMouseEvent>

frog1::frog1(platform::Platform& platform, const SpriteSet& sprites)
    // The canvas is left unfilled: Load's snapshot sets every pixel, and most
    // often replaces the buffer with the screen copy.
    : FrogField(platform, sprites, platform.screenPixels())
{
    // Outside the window manager's reach (override-redirect), like every
    // screen saver on X11: its place is the whole root window, all monitors
    // together, and no panel of the window manager's is stacked above it.
    setFlags(Qt::Window | Qt::FramelessWindowHint | Qt::BypassWindowManagerHint);
    setTitle(QStringLiteral("frog"));
    platform_.watchWindow(platform_.rootWindow(), [this](QSize size) { screenResized(size); }, {});
    Load();
}

void frog1::Load()
{
    placeFrogs();
    QImage ground(canvas_->image().size(), QImage::Format_RGB32);
    SnapDesktop(platform_, ground);
    if (SaverSettings.Blank)
        ground.fill(Qt::black);
    canvas_->replace(std::move(ground));
}

void frog1::screenResized(QSize size)
{
    growOrShrink(size);
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
    // The rule's pixels are frog pixels, as big on screen as the frogs.
    const QPointF at = event->position() / frogScale();
    if (pointer_.moveEnds(float(at.x()), float(at.y())))
        EndSaver(platform_, this);
}
