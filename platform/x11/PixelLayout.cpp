#include "platform/x11/PixelLayout.h"

#include <bit>

namespace platform::x11 {

namespace {

// Channels wider than this (no real visual has them) would need large tables.
constexpr int WidestChannel = 16;

bool isChannelMask(std::uint32_t mask, int bitsPerPixel)
{
    if (mask == 0 || int(std::bit_width(mask)) > bitsPerPixel)
        return false;
    const std::uint32_t bits = mask >> std::countr_zero(mask);
    return (bits & (bits + 1)) == 0 && std::popcount(bits) <= WidestChannel;
}

/** A pixel's bytes as the server orders them; Bytes of 1 to 4. */
template <int Bytes, bool MostSignificantFirst>
std::uint32_t load(const std::uint8_t* bytes)
{
    std::uint32_t pixel = 0;
    for (int i = 0; i < Bytes; ++i)
        pixel |= std::uint32_t(bytes[i]) << (8 * (MostSignificantFirst ? Bytes - 1 - i : i));
    return pixel;
}

template <int Bytes, bool MostSignificantFirst>
void store(std::uint8_t* bytes, std::uint32_t pixel)
{
    for (int i = 0; i < Bytes; ++i)
        bytes[i] = std::uint8_t(pixel >> (8 * (MostSignificantFirst ? Bytes - 1 - i : i)));
}

/** Calls rows with the load or store pair of layout's pixel size and byte order. */
template <template <int, bool> class Rows, typename... Args>
void forLayout(const PixelLayout& layout, Args&&... args)
{
    const bool msb = layout.mostSignificantFirst;
    switch (layout.bitsPerPixel) {
    case 8: Rows<1, false>::run(args...); break;
    case 16: msb ? Rows<2, true>::run(args...) : Rows<2, false>::run(args...); break;
    case 24: msb ? Rows<3, true>::run(args...) : Rows<3, false>::run(args...); break;
    default: msb ? Rows<4, true>::run(args...) : Rows<4, false>::run(args...); break;
    }
}

} // namespace

std::size_t PixelLayout::bytesPerLine(int width) const
{
    const std::size_t pad = scanlinePad ? scanlinePad : 8;
    const std::size_t bits = std::size_t(width) * bitsPerPixel;
    return (bits + pad - 1) / pad * pad / 8;
}

bool PixelLayout::isRgb32() const
{
    return bitsPerPixel == 32 && !mostSignificantFirst && (depth == 24 || depth == 32)
        && redMask == 0xff0000 && greenMask == 0xff00 && blueMask == 0xff;
}

std::optional<PixelLayout> pixelLayout(const xcb_setup_t* setup, std::uint8_t depth,
                                       const xcb_visualtype_t& visual)
{
    if (visual._class != XCB_VISUAL_CLASS_TRUE_COLOR)
        return std::nullopt;
    PixelLayout layout;
    layout.depth = depth;
    layout.mostSignificantFirst = setup->image_byte_order == XCB_IMAGE_ORDER_MSB_FIRST;
    layout.redMask = visual.red_mask;
    layout.greenMask = visual.green_mask;
    layout.blueMask = visual.blue_mask;
    for (auto formats = xcb_setup_pixmap_formats_iterator(setup); formats.rem; xcb_format_next(&formats))
        if (formats.data->depth == depth) {
            layout.bitsPerPixel = formats.data->bits_per_pixel;
            layout.scanlinePad = formats.data->scanline_pad;
        }
    const int bpp = layout.bitsPerPixel;
    if ((bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) || layout.scanlinePad % 8 != 0)
        return std::nullopt;
    for (const std::uint32_t mask : {visual.red_mask, visual.green_mask, visual.blue_mask})
        if (!isChannelMask(mask, bpp))
            return std::nullopt;
    return layout;
}

std::optional<PixelLayout> layoutOfVisual(const xcb_setup_t* setup, xcb_visualid_t visual)
{
    for (auto screens = xcb_setup_roots_iterator(setup); screens.rem; xcb_screen_next(&screens))
        for (auto depths = xcb_screen_allowed_depths_iterator(screens.data); depths.rem;
             xcb_depth_next(&depths))
            for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem;
                 xcb_visualtype_next(&visuals))
                if (visuals.data->visual_id == visual)
                    return pixelLayout(setup, depths.data->depth, *visuals.data);
    return std::nullopt;
}

PixelConverter::Channel PixelConverter::channelOf(std::uint32_t mask)
{
    Channel channel;
    channel.shift = std::countr_zero(mask);
    const int bits = std::popcount(mask);
    channel.max = mask >> channel.shift;
    // Narrower channels keep the top bits, so that what was read from the
    // screen goes back unchanged; wider ones are scaled, 255 to full.
    for (std::uint32_t value = 0; value < 256; ++value) {
        const std::uint32_t bitsOut =
            bits <= 8 ? value >> (8 - bits) : (value * channel.max + 127) / 255;
        channel.packed[value] = bitsOut << channel.shift;
    }
    channel.spread.resize(channel.max + 1);
    for (std::uint32_t value = 0; value <= channel.max; ++value)
        channel.spread[value] = std::uint8_t((value * 255 + channel.max / 2) / channel.max);
    return channel;
}

PixelConverter::PixelConverter(const PixelLayout& layout)
    : layout_(layout), red_(channelOf(layout.redMask)), green_(channelOf(layout.greenMask)),
      blue_(channelOf(layout.blueMask))
{
}

std::uint32_t PixelConverter::pixelOf(std::uint32_t rgb) const
{
    return red_.packed[(rgb >> 16) & 0xff] | green_.packed[(rgb >> 8) & 0xff]
        | blue_.packed[rgb & 0xff];
}

std::uint32_t PixelConverter::rgbOf(std::uint32_t pixel) const
{
    return 0xff000000u | std::uint32_t(red_.spread[(pixel >> red_.shift) & red_.max]) << 16
        | std::uint32_t(green_.spread[(pixel >> green_.shift) & green_.max]) << 8
        | blue_.spread[(pixel >> blue_.shift) & blue_.max];
}

namespace {

template <int Bytes, bool Msb>
struct ReadRows {
    template <typename Converter>
    static void run(const Converter& convert, const std::uint8_t* pixels, std::size_t stride,
                    QImage& image)
    {
        for (int y = 0; y < image.height(); ++y) {
            const std::uint8_t* from = pixels + stride * std::size_t(y);
            auto* to = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x, from += Bytes)
                to[x] = convert(load<Bytes, Msb>(from));
        }
    }
};

template <int Bytes, bool Msb>
struct WriteRows {
    template <typename Converter>
    static void run(const Converter& convert, const QImage& image, const QRect& area,
                    std::uint8_t* out, std::size_t stride)
    {
        for (int row = 0; row < area.height(); ++row) {
            const auto* from =
                reinterpret_cast<const std::uint32_t*>(image.constScanLine(area.y() + row)) + area.x();
            std::uint8_t* to = out + stride * std::size_t(row);
            for (int x = 0; x < area.width(); ++x, to += Bytes)
                store<Bytes, Msb>(to, convert(from[x]));
        }
    }
};

} // namespace

void PixelConverter::toRgb32(const std::uint8_t* pixels, std::size_t stride, QImage& image) const
{
    const auto convert = [this](std::uint32_t pixel) { return rgbOf(pixel); };
    forLayout<ReadRows>(layout_, convert, pixels, stride, image);
}

void PixelConverter::fromRgb32(const QImage& image, const QRect& area, std::uint8_t* out,
                               std::size_t stride) const
{
    const auto convert = [this](std::uint32_t rgb) { return pixelOf(rgb); };
    forLayout<WriteRows>(layout_, convert, image, area, out, stride);
}

} // namespace platform::x11
