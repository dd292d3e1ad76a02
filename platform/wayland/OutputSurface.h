#pragma once
// A surface that covers one output and shows that output's part of the
// canvas: on the overlay layer of the layer shell where the compositor has
// one (above panels, bars and windows), else a full-screen xdg toplevel.

#include "platform/wayland/CanvasSurface.h"
#include "platform/wayland/Output.h"
#include "platform/wayland/Toplevel.h"

#include <QRect>
#include <functional>
#include <memory>

namespace platform::wayland {

/** One output's surface, showing that output's part of the canvas. */
class OutputSurface {
public:
    /** Makes the surface on output; it maps at the compositor's first configure. */
    OutputSurface(const Connection& connection, const Output& output);
    ~OutputSurface();
    OutputSurface(const OutputSurface&) = delete;
    OutputSurface& operator=(const OutputSurface&) = delete;

    wl_surface* surface() const { return canvas_.surface(); }
    bool isLayer() const { return bool(layer_); }
    /** The scale of the surface's buffers: canvas pixels per surface unit. */
    int scale() const { return canvas_.scale(); }
    /** Where the output's pixels are on the canvas. */
    QRect canvasRect() const { return canvas_.canvasRect(); }
    /** True once the compositor has shown a frame of it. */
    bool isShown() const { return canvas_.isShown(); }

    /** Shows canvasRect of the canvas from the next present on, all of it
     *  anew: at the start, and when the output changed scale or place. */
    void place(QRect canvasRect, int scale) { canvas_.place(canvasRect, scale); }
    /** Attaches the frame shown last again, where it can. */
    void present() { canvas_.present(); }
    /** Attaches this output's part of frame index of frames, as CanvasSurface::showFrame. */
    void showFrame(const std::shared_ptr<CanvasFrames>& frames, int index, const QRegion& changed)
    {
        canvas_.showFrame(frames, index, changed);
    }
    /** As CanvasSurface::holdsFrame. */
    bool holdsFrame(int index) const { return canvas_.holdsFrame(index); }

    /** Runs once, when the compositor has shown the first frame. */
    std::function<void()> shownFirst;
    /** Runs when the compositor will not show the surface again. */
    std::function<void()> closed;

    void onConfigure(std::uint32_t serial, std::uint32_t width, std::uint32_t height);
    void onClosed();

private:
    void makeLayer(zwlr_layer_shell_v1* shell, wl_output* output);
    void makeToplevel(xdg_wm_base* base, wl_output* output);

    QSize outputSize_;
    CanvasSurface canvas_; // goes after its role
    WlPtr<zwlr_layer_surface_v1> layer_;
    std::unique_ptr<Toplevel> toplevel_;
};

} // namespace platform::wayland
