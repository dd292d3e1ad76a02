#include "platform/wayland/OutputSurface.h"

#include <algorithm>
#include <cstring>

namespace platform::wayland {

namespace {

constexpr std::uint32_t black = 0xff000000u;

OutputSurface& self(void* data) { return *static_cast<OutputSurface*>(data); }

void layerConfigure(void* data, zwlr_layer_surface_v1*, std::uint32_t serial, std::uint32_t width,
                    std::uint32_t height)
{
    self(data).onConfigure(serial, width, height);
}
void layerClosed(void* data, zwlr_layer_surface_v1*) { self(data).onClosed(); }
const zwlr_layer_surface_v1_listener layerListener = {layerConfigure, layerClosed};

// A toplevel's size comes first, then the surface's configure that completes it.
void xdgSurfaceConfigure(void* data, xdg_surface*, std::uint32_t serial) { self(data).onConfigure(serial, 0, 0); }
const xdg_surface_listener xdgSurfaceListener = {xdgSurfaceConfigure};

void toplevelConfigure(void* data, xdg_toplevel*, std::int32_t width, std::int32_t height, wl_array*)
{
    self(data).onToplevelSize(width, height);
}
void toplevelClose(void* data, xdg_toplevel*) { self(data).onClosed(); }
void toplevelBounds(void*, xdg_toplevel*, std::int32_t, std::int32_t) {}
void toplevelCapabilities(void*, xdg_toplevel*, wl_array*) {}
const xdg_toplevel_listener toplevelListener = {toplevelConfigure, toplevelClose, toplevelBounds,
                                                toplevelCapabilities};

void frameDone(void* data, wl_callback*, std::uint32_t) { self(data).onFrameShown(); }
const wl_callback_listener frameListener = {frameDone};

/** Fills width pixels at to with canvas's row y from x on, black outside the canvas. */
void copyRow(std::uint32_t* to, const QImage* canvas, int x, int y, int width)
{
    if (!canvas || y < 0 || y >= canvas->height()) {
        std::fill_n(to, width, black);
        return;
    }
    const auto* row = reinterpret_cast<const std::uint32_t*>(canvas->constScanLine(y));
    const int before = std::clamp(-x, 0, width);
    const int inside = std::clamp(canvas->width() - x - before, 0, width - before);
    std::fill_n(to, before, black);
    std::memcpy(to + before, row + x + before, std::size_t(inside) * 4);
    std::fill_n(to + before + inside, width - before - inside, black);
}

} // namespace

OutputSurface::OutputSurface(const Connection& connection, const Output& output)
    : compositor_(connection.globals().compositor.get()),
      shm_(connection.globals().shm.get()),
      outputSize_(output.logicalGeometry().size()),
      surface_(wl_compositor_create_surface(compositor_))
{
    if (connection.globals().layerShell)
        makeLayer(connection.globals().layerShell.get(), output.handle());
    else
        makeToplevel(connection.globals().wmBase.get(), output.handle());
    // The first commit, without a buffer, asks for the first configure.
    wl_surface_commit(surface_.get());
}

OutputSurface::~OutputSurface() = default;

void OutputSurface::makeLayer(zwlr_layer_shell_v1* shell, wl_output* output)
{
    layer_.reset(zwlr_layer_shell_v1_get_layer_surface(shell, surface_.get(), output,
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
    xdgSurface_.reset(xdg_wm_base_get_xdg_surface(base, surface_.get()));
    xdg_surface_add_listener(xdgSurface_.get(), &xdgSurfaceListener, this);
    toplevel_.reset(xdg_surface_get_toplevel(xdgSurface_.get()));
    xdg_toplevel_add_listener(toplevel_.get(), &toplevelListener, this);
    xdg_toplevel_set_title(toplevel_.get(), "Lilywade");
    xdg_toplevel_set_app_id(toplevel_.get(), "lilywade");
    xdg_toplevel_set_fullscreen(toplevel_.get(), output);
}

void OutputSurface::show(const QImage* canvas, QRect canvasRect, int scale)
{
    if (wl_compositor_get_version(compositor_) < WL_SURFACE_SET_BUFFER_SCALE_SINCE_VERSION)
        scale = 1;
    if (scale != scale_) {
        scale_ = scale;
        wl_surface_set_buffer_scale(surface_.get(), scale_);
        buffers_ = {};
    }
    canvas_ = canvas;
    canvasRect_ = canvasRect;
    pending_ = QRect(QPoint(0, 0), bufferSize());
    present();
}

void OutputSurface::update(const QRect& rect)
{
    const QRect local = rect.intersected(canvasRect_)
                            .translated(-canvasRect_.topLeft())
                            .intersected(QRect(QPoint(0, 0), bufferSize()));
    if (local.isEmpty())
        return;
    pending_ += local;
    present();
}

void OutputSurface::onConfigure(std::uint32_t serial, std::uint32_t width, std::uint32_t height)
{
    if (layer_)
        zwlr_layer_surface_v1_ack_configure(layer_.get(), serial);
    else
        xdg_surface_ack_configure(xdgSurface_.get(), serial);
    QSize size = layer_ ? QSize(int(width), int(height)) : toplevelSize_;
    if (size.isEmpty())
        size = outputSize_;
    if (size != surfaceSize_) {
        surfaceSize_ = size;
        buffers_ = {};
        WlPtr<wl_region> opaque(wl_compositor_create_region(compositor_));
        wl_region_add(opaque.get(), 0, 0, size.width(), size.height());
        wl_surface_set_opaque_region(surface_.get(), opaque.get());
    }
    configured_ = true;
    // A configured surface must commit, with or without news.
    pending_ = QRect(QPoint(0, 0), bufferSize());
    present();
}

void OutputSurface::onClosed()
{
    if (closed)
        closed();
}

void OutputSurface::onFrameShown()
{
    frameCallback_.reset();
    shown_ = true;
    if (shownFirst)
        shownFirst();
}

ShmBuffer* OutputSurface::freeBuffer()
{
    for (std::unique_ptr<ShmBuffer>& buffer : buffers_) {
        if (!buffer) {
            buffer = ShmBuffer::create(shm_, bufferSize(), bufferSize().width() * 4, WL_SHM_FORMAT_XRGB8888);
            if (!buffer)
                return nullptr;
            buffer->stale = QRect(QPoint(0, 0), bufferSize());
            // What waited for a free buffer goes out now.
            buffer->released = [this] { present(); };
        }
        if (!buffer->isBusy())
            return buffer.get();
    }
    return nullptr;
}

void OutputSurface::present()
{
    if (!configured_ || pending_.isEmpty() || surfaceSize_.isEmpty())
        return;
    ShmBuffer* buffer = freeBuffer();
    if (!buffer)
        return; // the next release comes back here
    paint(*buffer, buffer->stale + pending_);
    buffer->stale = QRegion();
    for (const std::unique_ptr<ShmBuffer>& other : buffers_)
        if (other && other.get() != buffer)
            other->stale += pending_;
    wl_surface_attach(surface_.get(), buffer->handle(), 0, 0);
    damage(pending_);
    buffer->attached();
    pending_ = QRegion();
    if (!shown_ && !frameCallback_) {
        frameCallback_.reset(wl_surface_frame(surface_.get()));
        wl_callback_add_listener(frameCallback_.get(), &frameListener, this);
    }
    wl_surface_commit(surface_.get());
}

void OutputSurface::paint(ShmBuffer& buffer, const QRegion& region) const
{
    for (const QRect& rect : region) {
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            auto* row = reinterpret_cast<std::uint32_t*>(buffer.bits() + std::size_t(buffer.stride()) * y);
            copyRow(row + rect.left(), canvas_, canvasRect_.x() + rect.left(), canvasRect_.y() + y, rect.width());
        }
    }
}

void OutputSurface::damage(const QRegion& region)
{
    const bool inBuffer = wl_surface_get_version(surface_.get()) >= WL_SURFACE_DAMAGE_BUFFER_SINCE_VERSION;
    for (const QRect& rect : region) {
        if (inBuffer) {
            wl_surface_damage_buffer(surface_.get(), rect.x(), rect.y(), rect.width(), rect.height());
        } else {
            // Surface units, rounded outwards.
            const int left = rect.left() / scale_, top = rect.top() / scale_;
            const int right = (rect.right() + scale_) / scale_, bottom = (rect.bottom() + scale_) / scale_;
            wl_surface_damage(surface_.get(), left, top, right - left, bottom - top);
        }
    }
}

} // namespace platform::wayland
