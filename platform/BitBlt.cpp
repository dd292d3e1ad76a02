#include "platform/BitBlt.h"

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

// Shrinks a transfer so that it lies inside both images; false when empty.
bool clip(const QImage& dst, int& dx, int& dy, int& w, int& h, const QImage& src, int& sx, int& sy)
{
    auto clipAxis = [](int& d, int& s, int& len, int dLimit, int sLimit) {
        const int shift = std::max({0, -d, -s});
        d += shift;
        s += shift;
        len -= shift;
        len = std::min({len, dLimit - d, sLimit - s});
        return len > 0;
    };
    return clipAxis(dx, sx, w, dst.width(), src.width())
        && clipAxis(dy, sy, h, dst.height(), src.height());
}

template <typename Op>
void transfer(QImage& dst, int dx, int dy, int w, int h, const QImage& src, int sx, int sy, Op op)
{
    for (int row = 0; row < h; ++row) {
        auto* out = reinterpret_cast<std::uint32_t*>(dst.scanLine(dy + row)) + dx;
        const auto* in = reinterpret_cast<const std::uint32_t*>(src.constScanLine(sy + row)) + sx;
        for (int i = 0; i < w; ++i)
            out[i] = op(out[i], in[i]);
    }
}

} // namespace

bool BitBlt(DeviceContext& dst, int dx, int dy, int w, int h, const DeviceContext& src, int sx,
            int sy, RasterOp op)
{
    if (dst.format() != QImage::Format_RGB32 || src.format() != QImage::Format_RGB32)
        return false;
    if (!clip(dst, dx, dy, w, h, src, sx, sy))
        return false;
    switch (op) {
    case SRCCOPY:
        for (int row = 0; row < h; ++row)
            std::memcpy(reinterpret_cast<std::uint32_t*>(dst.scanLine(dy + row)) + dx,
                        reinterpret_cast<const std::uint32_t*>(src.constScanLine(sy + row)) + sx,
                        std::size_t(w) * 4);
        return true;
    case SRCAND:
        // RGB32's fourth byte is not colour: AND leaves it as the operands
        // make it, XOR below sets it to 0xff.
        transfer(dst, dx, dy, w, h, src, sx, sy, [](auto d, auto s) { return d & s; });
        return true;
    case SRCINVERT:
        transfer(dst, dx, dy, w, h, src, sx, sy,
                 [](auto d, auto s) { return ((d ^ s) & 0x00ffffffu) | 0xff000000u; });
        return true;
    }
    return false;
}

DeviceContext makeSurface(int width, int height)
{
    DeviceContext image(width, height, QImage::Format_RGB32);
    image.fill(Qt::black);
    return image;
}

} // namespace platform
