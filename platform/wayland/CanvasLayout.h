#pragma once
// The canvas: one image in pixels that spans every output, as the X11 root
// window does, and where each output's pixels are on it.
//
// With one scale s for all outputs, the canvas is the layout in the outputs'
// own pixels: logical positions and sizes times s, the layout's top left at
// (0, 0). With mixed scales, positions are multiplied by the largest scale S
// and each output keeps its own size in pixels (logical size times its own
// scale): every output still shows its part of the canvas pixel for pixel,
// so none is blurred, and no two overlap; beside an output of a smaller
// scale lies a strip of canvas that no output shows, as parts of the X11
// root do beside a smaller monitor.

#include <QRect>
#include <QSize>
#include <vector>

namespace platform::wayland {

/** An output's place in the compositor's layout (logical units) and its scale. */
struct LayoutOutput {
    QRect logical;
    int scale = 1;
};

/** The canvas's size and each output's rectangle on it, in the order given. */
struct CanvasLayout {
    QSize size;
    int scale = 1;
    std::vector<QRect> outputs;
};

/** Places the outputs on one canvas; an empty canvas for no outputs. */
CanvasLayout layoutCanvas(const std::vector<LayoutOutput>& outputs);

} // namespace platform::wayland
