#include "platform/wayland/CanvasSurface.h"

namespace platform::wayland {

namespace {

void frameDone(void* data, wl_callback*, std::uint32_t) { static_cast<CanvasSurface*>(data)->onFrameShown(); }
const wl_callback_listener frameListener = {frameDone};

} // namespace

CanvasSurface::CanvasSurface(const Connection& connection)
    : compositor_(connection.globals().compositor.get()), surface_(wl_compositor_create_surface(compositor_))
{
}

CanvasSurface::~CanvasSurface() = default;

void CanvasSurface::place(QRect canvasRect, int scale)
{
    if (wl_compositor_get_version(compositor_) < WL_SURFACE_SET_BUFFER_SCALE_SINCE_VERSION)
        scale = 1;
    if (scale != scale_) {
        scale_ = scale;
        wl_surface_set_buffer_scale(surface_.get(), scale_);
    }
    canvasRect_ = canvasRect;
    views_ = {};
    attached_ = -1;
    pending_ = bufferRect();
}

void CanvasSurface::pick(const std::shared_ptr<CanvasFrames>& frames, int index, const QRegion& changed)
{
    if (frames != frames_) {
        frames_ = frames;
        views_ = {};
        attached_ = -1;
        pending_ = bufferRect();
    }
    front_ = index;
    pending_ += changed.translated(-canvasRect_.topLeft()) & bufferRect();
}

bool CanvasSurface::holdsFrame(int index) const
{
    const std::unique_ptr<ShmBuffer>& view = views_.at(std::size_t(index));
    if (!view || !view->isBusy())
        return false;
    if (index == attached_ || attached_ < 0)
        return true;
    // An older buffer still busy after the one attached since came back:
    // the compositor keeps it as its own copy of the surface and copies each
    // new buffer's damage into it (wlroots 0.15's software renderer does),
    // and gives it back only with the surface. Waiting for it would stop the
    // saver; it is drawn on, and such a compositor may show a drawing step a
    // moment early where a frog is.
    const std::unique_ptr<ShmBuffer>& latest = views_.at(std::size_t(attached_));
    return latest && latest->isBusy();
}

void CanvasSurface::resize(QSize size)
{
    if (size != surfaceSize_) {
        surfaceSize_ = size;
        WlPtr<wl_region> opaque(wl_compositor_create_region(compositor_));
        wl_region_add(opaque.get(), 0, 0, size.width(), size.height());
        wl_surface_set_opaque_region(surface_.get(), opaque.get());
    }
    configured_ = true;
    pending_ = bufferRect();
    // A configured surface must commit, with or without a frame to show.
    if (!present())
        wl_surface_commit(surface_.get());
}

void CanvasSurface::onFrameShown()
{
    frameCallback_.reset();
    shown_ = true;
    if (shownFirst)
        shownFirst();
}

ShmBuffer* CanvasSurface::view(int index)
{
    std::unique_ptr<ShmBuffer>& view = views_.at(std::size_t(index));
    if (!view && frames_) {
        view = frames_->view(index, canvasRect_);
        // A buffer's first attach is damaged whole, though the frames differ
        // only where they changed: the compositor then reads (and maps) each
        // frame whole once, and the pages it shares with us count half to
        // each, as the X server's shared image does on X11.
        pending_ = bufferRect();
    }
    return view.get();
}

bool CanvasSurface::present()
{
    if (!configured_ || front_ < 0 || surfaceSize_.isEmpty())
        return false;
    // A place not (yet) on the frames, after the outputs changed and before
    // the program's canvas followed: the frame attached last stays.
    ShmBuffer* buffer = view(front_);
    if (!buffer)
        return false;
    wl_surface_attach(surface_.get(), buffer->handle(), 0, 0);
    attached_ = front_;
    damage(pending_);
    buffer->attached();
    pending_ = QRegion();
    if (!shown_ && !frameCallback_) {
        frameCallback_.reset(wl_surface_frame(surface_.get()));
        wl_callback_add_listener(frameCallback_.get(), &frameListener, this);
    }
    wl_surface_commit(surface_.get());
    return true;
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
