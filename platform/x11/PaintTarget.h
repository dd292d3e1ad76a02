#pragma once
// What painting one window takes, found out once per window: the layout of
// its pixels, and a graphics context of its depth.

#include "platform/x11/PixelLayout.h"

#include <memory>
#include <optional>
#include <vector>
#include <xcb/xcb.h>

namespace platform::x11 {

struct PaintTarget {
    PixelLayout layout;
    /** Made when the window's pixels are not the canvas's own (a 16-bit screen). */
    std::optional<PixelConverter> converter;
    /** Fills black. */
    xcb_gcontext_t blackContext = 0;
    /** Converted rows, kept from one frame to the next. */
    std::vector<std::uint8_t> strip;
};

/** The target for window; null when the window is gone or shows no TrueColor. */
std::unique_ptr<PaintTarget> paintTargetOf(xcb_connection_t* c, xcb_window_t window);

} // namespace platform::x11
