#pragma once
// Block transfer between two RGB32 images with one of three raster
// operations, clipped to both source and destination.

#include "platform/Platform.h"
#include <cstdint>

namespace platform {

enum RasterOp : std::uint32_t {
    SRCCOPY = 0x00CC0020,   // destination := source
    SRCAND = 0x008800C6,    // destination := destination AND source
    SRCINVERT = 0x00660046, // destination := destination XOR source
};

/** Transfers the w x h block at (sx, sy) of src onto (dx, dy) of dst; only the
 *  part inside both images is touched. Returns false when nothing was moved. */
bool BitBlt(DeviceContext& dst, int dx, int dy, int w, int h, const DeviceContext& src, int sx,
            int sy, RasterOp op);

/** A new RGB32 image of the given size, filled with black. */
DeviceContext makeSurface(int width, int height);

} // namespace platform
