#include "platform/wayland/WindowSurface.h"

namespace platform::wayland {

WindowSurface::WindowSurface(const Connection& connection, const QString& title, QSize size)
    : size_(size), canvas_(connection),
      toplevel_(connection.globals().wmBase.get(), canvas_.surface(), title.toUtf8().constData())
{
    toplevel_.configured = [this](std::uint32_t serial) { onConfigure(serial); };
    toplevel_.closed = [this] {
        if (closed)
            closed();
    };
    // The first commit, without a buffer, asks for the first configure.
    wl_surface_commit(canvas_.surface());
}

WindowSurface::~WindowSurface() = default;

void WindowSurface::showFrame(const std::shared_ptr<CanvasFrames>& frames, int index, const QRegion& changed)
{
    size_ = frames->size();
    if (canvas_.canvasRect() != frames->rect())
        canvas_.place(frames->rect(), 1);
    canvas_.pick(frames, index, changed);
    // Frames of the size last asked for are the answer to it.
    if (pendingSerial_)
        commitConfigure();
    else
        canvas_.present();
}

void WindowSurface::onConfigure(std::uint32_t serial)
{
    pendingSerial_ = serial;
    // No size (0 x 0) leaves it to us. Another size is acked with the
    // canvas of that size: a buffer of the old size would show at the old
    // size for a moment.
    const QSize asked = toplevel_.askedSize();
    if (asked.isEmpty() || asked == size_ || !resized)
        commitConfigure();
    else
        resized(asked);
}

void WindowSurface::commitConfigure()
{
    toplevel_.ack(*pendingSerial_);
    pendingSerial_.reset();
    canvas_.resize(size_);
}

} // namespace platform::wayland
