#pragma once
// A wl_surface that shows a rectangle of the program's canvas through two
// shm buffers: a frame is painted into a buffer the compositor does not hold,
// so it never tears. Its role (a layer surface, a toplevel) is its owner's.

#include "platform/wayland/Connection.h"
#include "platform/wayland/ShmBuffer.h"

#include <QImage>
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

    /** Shows canvasRect of canvas (Format_RGB32, alive until replaced), all of it
     *  anew; parts outside the canvas are black. */
    void show(const QImage* canvas, QRect canvasRect, int scale);
    /** Puts the part of rect (canvas coordinates) that this surface shows on screen. */
    void update(const QRect& rect);
    /** Takes size (surface units), all of it painted anew, and commits: the
     *  owner acked its role's first configure, so buffers may go out from now on. */
    void resize(QSize size);

    /** Runs once, when the compositor has shown the first frame. */
    std::function<void()> shownFirst;

    void onFrameShown();

private:
    QSize bufferSize() const { return surfaceSize_ * scale_; }
    ShmBuffer* freeBuffer();
    void present();
    void paint(ShmBuffer& buffer, const QRegion& region) const;
    void damage(const QRegion& region);

    wl_compositor* compositor_;
    wl_shm* shm_;
    WlPtr<wl_surface> surface_;
    WlPtr<wl_callback> frameCallback_;
    std::array<std::unique_ptr<ShmBuffer>, 2> buffers_;
    const QImage* canvas_ = nullptr;
    QRect canvasRect_;
    int scale_ = 1;
    QSize surfaceSize_;
    QRegion pending_;
    bool configured_ = false;
    bool shown_ = false;
};

} // namespace platform::wayland
