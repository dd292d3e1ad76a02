#pragma once
// A surface that covers one output and shows that output's part of the
// canvas: on the overlay layer of the layer shell where the compositor has
// one (above panels, bars and windows), else a full-screen xdg toplevel.

#include "platform/wayland/Output.h"
#include "platform/wayland/ShmBuffer.h"

#include <QImage>
#include <QRect>
#include <QRegion>
#include <array>
#include <functional>
#include <memory>

namespace platform::wayland {

/** One output's surface and its two buffers: a frame is painted into a buffer
 *  the compositor does not hold, so it never tears. */
class OutputSurface {
public:
    /** Makes the surface on output; it maps at the compositor's first configure. */
    OutputSurface(const Connection& connection, const Output& output);
    ~OutputSurface();
    OutputSurface(const OutputSurface&) = delete;
    OutputSurface& operator=(const OutputSurface&) = delete;

    wl_surface* surface() const { return surface_.get(); }
    bool isLayer() const { return bool(layer_); }
    /** The scale of the surface's buffers: canvas pixels per surface unit. */
    int scale() const { return scale_; }
    /** Where the output's pixels are on the canvas. */
    QRect canvasRect() const { return canvasRect_; }
    /** True once the compositor has shown a frame of it. */
    bool isShown() const { return shown_; }

    /** Shows canvas (Format_RGB32, alive until replaced) from canvasRect, all of it
     *  anew; also when the output changed scale or place. */
    void show(const QImage* canvas, QRect canvasRect, int scale);
    /** Puts the part of rect (canvas coordinates) that is on this output on screen. */
    void update(const QRect& rect);

    /** Runs once, when the compositor has shown the first frame. */
    std::function<void()> shownFirst;
    /** Runs when the compositor will not show the surface again. */
    std::function<void()> closed;

    void onConfigure(std::uint32_t serial, std::uint32_t width, std::uint32_t height);
    void onToplevelSize(std::int32_t width, std::int32_t height) { toplevelSize_ = QSize(width, height); }
    void onClosed();
    void onFrameShown();

private:
    void makeLayer(zwlr_layer_shell_v1* shell, wl_output* output);
    void makeToplevel(xdg_wm_base* base, wl_output* output);
    QSize bufferSize() const { return surfaceSize_ * scale_; }
    ShmBuffer* freeBuffer();
    void present();
    void paint(ShmBuffer& buffer, const QRegion& region) const;
    void damage(const QRegion& region);

    wl_compositor* compositor_;
    wl_shm* shm_;
    QSize outputSize_;
    WlPtr<wl_surface> surface_;
    WlPtr<zwlr_layer_surface_v1> layer_;
    WlPtr<xdg_surface> xdgSurface_;
    WlPtr<xdg_toplevel> toplevel_;
    WlPtr<wl_callback> frameCallback_;
    std::array<std::unique_ptr<ShmBuffer>, 2> buffers_;
    const QImage* canvas_ = nullptr;
    QRect canvasRect_;
    int scale_ = 1;
    QSize surfaceSize_;
    QSize toplevelSize_;
    QRegion pending_;
    bool configured_ = false;
    bool shown_ = false;
};

} // namespace platform::wayland
