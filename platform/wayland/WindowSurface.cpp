#include "platform/wayland/WindowSurface.h"

namespace platform::wayland {

namespace {

WindowSurface& self(void* data) { return *static_cast<WindowSurface*>(data); }

// A toplevel's size comes first, then the surface's configure that completes it.
void surfaceConfigure(void* data, xdg_surface*, std::uint32_t serial) { self(data).onConfigure(serial); }
const xdg_surface_listener surfaceListener = {surfaceConfigure};

void toplevelConfigure(void* data, xdg_toplevel*, std::int32_t width, std::int32_t height, wl_array*)
{
    self(data).onToplevelSize(width, height);
}
void toplevelClose(void* data, xdg_toplevel*) { self(data).onClose(); }
void toplevelBounds(void*, xdg_toplevel*, std::int32_t, std::int32_t) {}
void toplevelCapabilities(void*, xdg_toplevel*, wl_array*) {}
const xdg_toplevel_listener toplevelListener = {toplevelConfigure, toplevelClose, toplevelBounds,
                                                toplevelCapabilities};

} // namespace

WindowSurface::WindowSurface(const Connection& connection, const QString& title, QSize size)
    : size_(size), canvas_(connection)
{
    xdgSurface_.reset(xdg_wm_base_get_xdg_surface(connection.globals().wmBase.get(), canvas_.surface()));
    xdg_surface_add_listener(xdgSurface_.get(), &surfaceListener, this);
    toplevel_.reset(xdg_surface_get_toplevel(xdgSurface_.get()));
    xdg_toplevel_add_listener(toplevel_.get(), &toplevelListener, this);
    xdg_toplevel_set_title(toplevel_.get(), title.toUtf8().constData());
    xdg_toplevel_set_app_id(toplevel_.get(), "lilywade");
    // The first commit, without a buffer, asks for the first configure.
    wl_surface_commit(canvas_.surface());
}

WindowSurface::~WindowSurface() = default;

void WindowSurface::show(const QImage* canvas)
{
    canvas_.show(canvas, canvas->rect(), 1);
    size_ = canvas->size();
    // This canvas is the answer to the size last asked for.
    if (pendingSerial_)
        commitConfigure();
}

void WindowSurface::onConfigure(std::uint32_t serial)
{
    pendingSerial_ = serial;
    // No size (0 x 0) leaves it to us. Another size is acked with the
    // canvas of that size: a buffer of the old size would show at the old
    // size for a moment.
    if (toplevelSize_.isEmpty() || toplevelSize_ == size_ || !resized)
        commitConfigure();
    else
        resized(toplevelSize_);
}

void WindowSurface::commitConfigure()
{
    xdg_surface_ack_configure(xdgSurface_.get(), *pendingSerial_);
    pendingSerial_.reset();
    canvas_.resize(size_);
}

void WindowSurface::onClose()
{
    if (closed)
        closed();
}

} // namespace platform::wayland
