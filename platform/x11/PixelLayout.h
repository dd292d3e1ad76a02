#pragma once
// How the X server lays out the pixels of a TrueColor drawable (Z pixmap
// format), and the conversion between that and QImage::Format_RGB32: the
// program draws in 24-bit colour whatever the depth of the screen.

#include <QImage>
#include <QRect>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>
#include <xcb/xcb.h>

namespace platform::x11 {

struct PixelLayout {
    std::uint8_t depth = 0;
    std::uint8_t bitsPerPixel = 0; // 8, 16, 24 or 32
    std::uint8_t scanlinePad = 0;  // each row is a multiple of this many bits
    bool mostSignificantFirst = false;
    std::uint32_t redMask = 0;
    std::uint32_t greenMask = 0;
    std::uint32_t blueMask = 0;

    /** Bytes of a row of width pixels, padding included. */
    std::size_t bytesPerLine(int width) const;
    /** True when the pixels are Format_RGB32's but for the byte it leaves unused:
     *  they go between the server and an image with no conversion. */
    bool isRgb32() const;
};

/** The layout of drawables of depth with visual under setup; none unless the
 *  visual is TrueColor and its pixels are whole bytes the converter handles. */
std::optional<PixelLayout> pixelLayout(const xcb_setup_t* setup, std::uint8_t depth,
                                       const xcb_visualtype_t& visual);
/** The layout of drawables of a visual of any screen under setup (a window's,
 *  or the root's for pixmaps of its depth); none as pixelLayout. */
std::optional<PixelLayout> layoutOfVisual(const xcb_setup_t* setup, xcb_visualid_t visual);

/** Converts between the server's pixels of one layout and Format_RGB32: each
 *  channel keeps its top bits on the way out and is spread over 0..255 on the
 *  way in, so a pixel read and written back is the pixel it was. */
class PixelConverter {
public:
    explicit PixelConverter(const PixelLayout& layout);

    const PixelLayout& layout() const { return layout_; }
    /** Fills image (Format_RGB32) from rows of server pixels, stride bytes apart. */
    void toRgb32(const std::uint8_t* pixels, std::size_t stride, QImage& image) const;
    /** Writes area of image as rows of server pixels, stride bytes apart, from out on. */
    void fromRgb32(const QImage& image, const QRect& area, std::uint8_t* out,
                   std::size_t stride) const;

private:
    struct Channel {
        int shift = 0;
        std::uint32_t max = 0;
        std::array<std::uint32_t, 256> packed{}; // 8-bit value -> its bits in a pixel
        std::vector<std::uint8_t> spread;        // the channel's value -> 8 bits
    };
    static Channel channelOf(std::uint32_t mask);
    std::uint32_t pixelOf(std::uint32_t rgb) const;
    std::uint32_t rgbOf(std::uint32_t pixel) const;

    PixelLayout layout_;
    Channel red_, green_, blue_;
};

} // namespace platform::x11
