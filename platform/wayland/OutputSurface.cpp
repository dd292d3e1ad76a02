#include "platform/wayland/OutputSurface.h"

namespace platform::wayland {

namespace {

OutputSurface& self(void* data) { return *static_cast<OutputSurface*>(data); }

void layerConfigure(void* data, zwlr_layer_surface_v1*, std::uint32_t serial, std::uint32_t width,
                    std::uint32_t height)
{
    self(data).onConfigure(serial, width, height);
}
void layerClosed(void* data, zwlr_layer_surface_v1*) { self(data).onClosed(); }
const zwlr_layer_surface_v1_listener layerListener = {layerConfigure, layerClosed};

} // namespace

OutputSurface::OutputSurface(const Connection& connection, const Output& output)
    : outputSize_(output.logicalGeometry().size()), canvas_(connection)
{
    canvas_.shownFirst = [this] {
        if (shownFirst)
            shownFirst();
    };
    if (connection.globals().layerShell)
        makeLayer(connection.globals().layerShell.get(), output.handle());
    else
        makeToplevel(connection.globals().wmBase.get(), output.handle());
    // The first commit, without a buffer, asks for the first configure.
    wl_surface_commit(surface());
}

OutputSurface::~OutputSurface() = default;

void OutputSurface::makeLayer(zwlr_layer_shell_v1* shell, wl_output* output)
{
    layer_.reset(zwlr_layer_shell_v1_get_layer_surface(shell, surface(), output,
                                                       ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, "lilywade"));
    zwlr_layer_surface_v1_add_listener(layer_.get(), &layerListener, this);
    zwlr_layer_surface_v1_set_size(layer_.get(), 0, 0);
    zwlr_layer_surface_v1_set_anchor(layer_.get(),
                                     ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
                                         ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT);
    // -1: the whole output, whatever room panels keep for themselves.
    zwlr_layer_surface_v1_set_exclusive_zone(layer_.get(), -1);
    zwlr_layer_surface_v1_set_keyboard_interactivity(layer_.get(),
                                                     ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_EXCLUSIVE);
}

void OutputSurface::makeToplevel(xdg_wm_base* base, wl_output* output)
{
    if (!base)
        return;
    toplevel_ = std::make_unique<Toplevel>(base, surface(), "Lilywade");
    toplevel_->configured = [this](std::uint32_t serial) { onConfigure(serial, 0, 0); };
    toplevel_->closed = [this] { onClosed(); };
    xdg_toplevel_set_fullscreen(toplevel_->handle(), output);
}

void OutputSurface::onConfigure(std::uint32_t serial, std::uint32_t width, std::uint32_t height)
{
    if (layer_)
        zwlr_layer_surface_v1_ack_configure(layer_.get(), serial);
    else
        toplevel_->ack(serial);
    const QSize size = layer_ ? QSize(int(width), int(height)) : toplevel_->askedSize();
    canvas_.resize(size.isEmpty() ? outputSize_ : size);
}

void OutputSurface::onClosed()
{
    if (closed)
        closed();
}

} // namespace platform::wayland
