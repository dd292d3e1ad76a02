#include "platform/wayland/ScreenCopy.h"

#include <gtest/gtest.h>

namespace {

using platform::wayland::frameImage;

// Pixels as a compositor writes them: 32 bits each, little-endian.
constexpr std::uint32_t red = 0x00ff0000, green = 0x0000ff00, blue = 0x000000ff;

QImage frame(const std::vector<std::uint32_t>& words, QSize size, int stride, std::uint32_t format,
             bool yInverted = false, std::int32_t transform = WL_OUTPUT_TRANSFORM_NORMAL)
{
    return frameImage(reinterpret_cast<const std::uint8_t*>(words.data()), size, stride, format, yInverted,
                      transform);
}

std::vector<QRgb> pixels(const QImage& image)
{
    std::vector<QRgb> all;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            all.push_back(image.pixel(x, y));
    return all;
}

/** The image's words as stored: QImage::pixel() would hide a wrong alpha byte. */
std::vector<std::uint32_t> stored(const QImage& image)
{
    const auto* words = reinterpret_cast<const std::uint32_t*>(image.constBits());
    return {words, words + image.width() * image.height()};
}

TEST(FrameImage, ReadsEachShmFormatIntoOpaqueRgb32)
{
    struct Case {
        std::uint32_t format;
        std::vector<std::uint32_t> words;
    } cases[] = {
        // Whatever the unused byte of an x format holds, the image is opaque.
        {WL_SHM_FORMAT_XRGB8888, {red | 0x12000000, green, blue}},
        {WL_SHM_FORMAT_ARGB8888, {red | 0xff000000, green | 0xff000000, blue | 0xff000000}},
        {WL_SHM_FORMAT_XBGR8888, {0x000000ff, 0x0000ff00, 0x00ff0000}},
        {WL_SHM_FORMAT_ABGR8888, {0xff0000ff, 0xff00ff00, 0xffff0000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        const QImage image = frame(c.words, QSize(3, 1), 12, c.format);
        EXPECT_EQ(image.format(), QImage::Format_RGB32);
        EXPECT_EQ(stored(image), (std::vector<std::uint32_t>{0xffff0000, 0xff00ff00, 0xff0000ff}));
    }
}

TEST(FrameImage, FollowsStrideAndFlipsInvertedRows)
{
    // Two rows of one pixel, each row padded to 8 bytes.
    const std::vector<std::uint32_t> words = {red, 0xdeadbeef, blue, 0xdeadbeef};
    EXPECT_EQ(pixels(frame(words, QSize(1, 2), 8, WL_SHM_FORMAT_XRGB8888)),
              (std::vector<QRgb>{qRgb(255, 0, 0), qRgb(0, 0, 255)}));
    EXPECT_EQ(pixels(frame(words, QSize(1, 2), 8, WL_SHM_FORMAT_XRGB8888, true)),
              (std::vector<QRgb>{qRgb(0, 0, 255), qRgb(255, 0, 0)}));
}

TEST(FrameImage, TurnsTheFrameAsTheOutputShowsIt)
{
    // A 2 x 2 frame (red, blue / green, white) on an output with each
    // transform: all eight pictures differ. The code was checked against
    // grim's captures on sway for each transform.
    const QRgb r = qRgb(255, 0, 0), b = qRgb(0, 0, 255), g = qRgb(0, 255, 0), w = qRgb(255, 255, 255);
    const std::pair<std::int32_t, std::vector<QRgb>> cases[] = {
        {WL_OUTPUT_TRANSFORM_NORMAL, {r, b, g, w}},     {WL_OUTPUT_TRANSFORM_90, {g, r, w, b}},
        {WL_OUTPUT_TRANSFORM_180, {w, g, b, r}},        {WL_OUTPUT_TRANSFORM_270, {b, w, r, g}},
        {WL_OUTPUT_TRANSFORM_FLIPPED, {b, r, w, g}},    {WL_OUTPUT_TRANSFORM_FLIPPED_90, {r, g, b, w}},
        {WL_OUTPUT_TRANSFORM_FLIPPED_180, {g, w, r, b}}, {WL_OUTPUT_TRANSFORM_FLIPPED_270, {w, b, g, r}},
    };
    for (const auto& [transform, shown] : cases) {
        SCOPED_TRACE(transform);
        const QImage image =
            frame({red, blue, green, 0x00ffffff}, QSize(2, 2), 8, WL_SHM_FORMAT_XRGB8888, false, transform);
        EXPECT_EQ(pixels(image), shown);
    }
}

TEST(FrameImage, TurnedOutputsSwapWidthAndHeight)
{
    const std::vector<std::uint32_t> words(6, red);
    EXPECT_EQ(frame(words, QSize(3, 2), 12, WL_SHM_FORMAT_XRGB8888, false, WL_OUTPUT_TRANSFORM_90).size(),
              QSize(2, 3));
    EXPECT_EQ(frame(words, QSize(3, 2), 12, WL_SHM_FORMAT_XRGB8888, false, WL_OUTPUT_TRANSFORM_FLIPPED).size(),
              QSize(3, 2));
}

TEST(FrameImage, UnknownFormatOrShortStrideGivesNoImage)
{
    EXPECT_TRUE(frame({red, blue}, QSize(2, 1), 8, WL_SHM_FORMAT_RGB565).isNull());
    EXPECT_TRUE(frame({red, blue}, QSize(2, 1), 4, WL_SHM_FORMAT_XRGB8888).isNull());
}

} // namespace
