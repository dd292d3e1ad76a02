#include "platform/wayland/FlippingCanvas.h"
#include "platform/wayland/Session.h"

#include <cstring>

namespace platform::wayland {

namespace {

// The compositor lets go of a frame when it takes the next one, a round trip
// at most. One that keeps it longer (stopped, or far behind) is not waited
// for without end: the saver must still pause and end in time, and at worst
// the compositor shows a frame being drawn.
constexpr int releaseWaitMs = 500;

/** Copies rect of from onto the same place of to; both have one size. */
void copyRect(QImage& to, const QImage& from, const QRect& rect)
{
    const std::size_t bytes = std::size_t(rect.width()) * 4;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        std::memcpy(to.scanLine(y) + std::size_t(rect.x()) * 4, from.constScanLine(y) + std::size_t(rect.x()) * 4,
                    bytes);
}

} // namespace

FlippingCanvas::FlippingCanvas(Session& session, QSize size)
    : session_(session), frames_(CanvasFrames::create(session.connection().globals().shm.get(), size))
{
    if (frames_) {
        // The other frame catches up whole after the first flip.
        changed_ = frames_->rect();
    } else {
        spare_ = QImage(size, QImage::Format_RGB32);
        spare_.fill(Qt::black);
    }
}

QImage& FlippingCanvas::image()
{
    if (!frames_)
        return spare_;
    catchUp();
    return back();
}

void FlippingCanvas::replace(QImage image)
{
    if (image.format() != QImage::Format_RGB32)
        image = std::move(image).convertToFormat(QImage::Format_RGB32);
    if (!frames_ || image.size() != frames_->size()) {
        // The screen keeps the old frames until the next refresh shows these,
        // which no compositor holds until then.
        frames_ = CanvasFrames::create(session_.connection().globals().shm.get(), image.size());
        back_ = 0;
        screen_ = nullptr;
        if (!frames_) {
            spare_ = std::move(image);
            return;
        }
    } else {
        waitForBack();
    }
    copyRect(back(), image, image.rect());
    lag_ = QRegion();
    changed_ = image.rect();
}

void FlippingCanvas::refresh(FrameScreen& screen, const QRect& rect)
{
    if (!frames_)
        return;
    // A refresh with nothing drawn (an expose) still shows the picture.
    catchUp();
    const QRegion changed = changed_ + (rect & frames_->rect());
    screen_ = &screen;
    screen.showFrame(frames_, back_, changed);
    back_ = 1 - back_;
    lag_ = changed;
    changed_ = QRegion();
}

void FlippingCanvas::catchUp()
{
    if (lag_.isEmpty())
        return;
    waitForBack();
    const QImage& shown = frames_->image(1 - back_);
    for (const QRect& rect : lag_)
        copyRect(back(), shown, rect);
    lag_ = QRegion();
}

void FlippingCanvas::waitForBack()
{
    if (!screen_ || !screen_->holdsFrame(back_))
        return;
    const int index = back_;
    FrameScreen* screen = screen_;
    session_.waitUntil([screen, index] { return !screen->holdsFrame(index); }, releaseWaitMs);
}

} // namespace platform::wayland
