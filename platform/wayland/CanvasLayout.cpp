#include "platform/wayland/CanvasLayout.h"

#include <algorithm>

namespace platform::wayland {

CanvasLayout layoutCanvas(const std::vector<LayoutOutput>& outputs)
{
    CanvasLayout layout;
    if (outputs.empty())
        return layout;
    QPoint origin = outputs.front().logical.topLeft();
    for (const LayoutOutput& output : outputs) {
        origin.setX(std::min(origin.x(), output.logical.x()));
        origin.setY(std::min(origin.y(), output.logical.y()));
        layout.scale = std::max(layout.scale, output.scale);
    }
    QRect bounds;
    for (const LayoutOutput& output : outputs) {
        const QRect place((output.logical.topLeft() - origin) * layout.scale,
                          output.logical.size() * std::max(1, output.scale));
        layout.outputs.push_back(place);
        bounds |= place;
    }
    layout.size = QSize(bounds.right() + 1, bounds.bottom() + 1);
    return layout;
}

} // namespace platform::wayland
