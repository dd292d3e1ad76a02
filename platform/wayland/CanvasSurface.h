#pragma once
// A wl_surface that shows a rectangle of the program's canvas: it attaches
// views of the canvas's frames (buffers cut from the canvas's own pool), the
// frame the canvas last flipped to. Its role (a layer surface, a toplevel)
// is its owner's.

#include "platform/wayland/CanvasFrames.h"
#include "platform/wayland/Connection.h"

#include <QRect>
#include <QRegion>
#include <array>
#include <functional>
#include <memory>

namespace platform::wayland {

class CanvasSurface {
public:
    /** Makes the surface, without a role yet. */
    explicit CanvasSurface(const Connection& connection);
    ~CanvasSurface();
    CanvasSurface(const CanvasSurface&) = delete;
    CanvasSurface& operator=(const CanvasSurface&) = delete;

    wl_surface* surface() const { return surface_.get(); }
    /** The scale of the buffers: canvas pixels per surface unit. */
    int scale() const { return scale_; }
    /** The part of the canvas shown. */
    QRect canvasRect() const { return canvasRect_; }
    /** The surface's size in surface units. */
    QSize size() const { return surfaceSize_; }
    /** True once the compositor has shown a frame of it. */
    bool isShown() const { return shown_; }

    /** Shows canvasRect of the canvas at scale (canvas pixels per surface
     *  unit) from the next present on, all of it anew. */
    void place(QRect canvasRect, int scale);
    /** Attaches frame index of frames; changed (canvas pixels) is where it
     *  differs from the frame attached before (other frames: all of it). */
    void showFrame(const std::shared_ptr<CanvasFrames>& frames, int index, const QRegion& changed)
    {
        pick(frames, index, changed);
        present();
    }
    /** showFrame without attaching yet. */
    void pick(const std::shared_ptr<CanvasFrames>& frames, int index, const QRegion& changed);
    /** Attaches the frame picked, if the surface is configured and its place is
     *  on the frames; true when it committed. */
    bool present();
    /** True while frame index is not to be drawn on: the compositor reads it
     *  through this surface and is to give it back. */
    bool holdsFrame(int index) const;
    /** Takes size (surface units), all of it shown anew, and commits: the
     *  owner acked its role's first configure, so buffers may go out from now on. */
    void resize(QSize size);

    /** Runs once, when the compositor has shown the first frame. */
    std::function<void()> shownFirst;

    void onFrameShown();

private:
    /** The buffers' pixels: the part of the canvas shown. */
    QRect bufferRect() const { return QRect(QPoint(0, 0), canvasRect_.size()); }
    ShmBuffer* view(int index);
    void damage(const QRegion& region);

    wl_compositor* compositor_;
    WlPtr<wl_surface> surface_;
    WlPtr<wl_callback> frameCallback_;
    std::shared_ptr<CanvasFrames> frames_;
    std::array<std::unique_ptr<ShmBuffer>, 2> views_; // of frames_, made at their first use
    int front_ = -1; // the frame to attach; none yet
    int attached_ = -1; // the frame attached last; none yet
    QRect canvasRect_;
    int scale_ = 1;
    QSize surfaceSize_;
    QRegion pending_; // changed (buffer pixels) since the last attach
    bool configured_ = false;
    bool shown_ = false;
};

} // namespace platform::wayland
