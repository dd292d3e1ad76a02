#include "platform/wayland/CanvasSurface.h"

#include <algorithm>
#include <cstring>

namespace platform::wayland {

namespace {

constexpr std::uint32_t black = 0xff000000u;

void frameDone(void* data, wl_callback*, std::uint32_t) { static_cast<CanvasSurface*>(data)->onFrameShown(); }
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

CanvasSurface::CanvasSurface(const Connection& connection)
    : compositor_(connection.globals().compositor.get()),
      shm_(connection.globals().shm.get()),
      surface_(wl_compositor_create_surface(compositor_))
{
}

CanvasSurface::~CanvasSurface() = default;

void CanvasSurface::show(const QImage* canvas, QRect canvasRect, int scale)
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

void CanvasSurface::update(const QRect& rect)
{
    const QRect local = rect.intersected(canvasRect_)
                            .translated(-canvasRect_.topLeft())
                            .intersected(QRect(QPoint(0, 0), bufferSize()));
    if (local.isEmpty())
        return;
    pending_ += local;
    present();
}

void CanvasSurface::resize(QSize size)
{
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

void CanvasSurface::onFrameShown()
{
    frameCallback_.reset();
    shown_ = true;
    if (shownFirst)
        shownFirst();
}

ShmBuffer* CanvasSurface::freeBuffer()
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

void CanvasSurface::present()
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

void CanvasSurface::paint(ShmBuffer& buffer, const QRegion& region) const
{
    for (const QRect& rect : region) {
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            auto* row = reinterpret_cast<std::uint32_t*>(buffer.bits() + std::size_t(buffer.stride()) * y);
            copyRow(row + rect.left(), canvas_, canvasRect_.x() + rect.left(), canvasRect_.y() + y, rect.width());
        }
    }
}

void CanvasSurface::damage(const QRegion& region)
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
