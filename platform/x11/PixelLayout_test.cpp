// The server's pixel layouts and their conversion to and from RGB32, on tiny
// images: the bytes of one known colour in each layout (one whose channels
// would round up where the server keeps the top bits), rows padded as the
// server pads them, and screen pixels that survive a read and a write back.
#include "platform/x11/PixelLayout.h"

#include <QRandomGenerator>
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

namespace platform::x11 {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct LayoutCase {
    const char* name;
    PixelLayout layout;
    Bytes written;        // 0x1f3f5f as the server holds it
    std::uint32_t read;   // those bytes read back
    std::size_t rowOf3;   // bytes of a row of three pixels
};

void PrintTo(const LayoutCase& c, std::ostream* os) { *os << c.name; }

constexpr bool Lsb = false;
constexpr bool Msb = true;

const LayoutCase layouts[] = {
    {"rgb565", {16, 16, 32, Lsb, 0xf800, 0x7e0, 0x1f}, {0xeb, 0x19}, 0xff193d5a, 8},
    {"rgb565_msb", {16, 16, 32, Msb, 0xf800, 0x7e0, 0x1f}, {0x19, 0xeb}, 0xff193d5a, 8},
    {"rgb555", {15, 16, 32, Lsb, 0x7c00, 0x3e0, 0x1f}, {0xeb, 0x0c}, 0xff193a5a, 8},
    {"rgb565_pad16", {16, 16, 16, Lsb, 0xf800, 0x7e0, 0x1f}, {0xeb, 0x19}, 0xff193d5a, 6},
    {"packed24", {24, 24, 32, Lsb, 0xff0000, 0xff00, 0xff}, {0x5f, 0x3f, 0x1f}, 0xff1f3f5f, 12},
    {"rgb32_msb", {24, 32, 32, Msb, 0xff0000, 0xff00, 0xff}, {0, 0x1f, 0x3f, 0x5f}, 0xff1f3f5f, 12},
    {"bgr32", {24, 32, 32, Lsb, 0xff, 0xff00, 0xff0000}, {0x1f, 0x3f, 0x5f, 0}, 0xff1f3f5f, 12},
    {"rgb30", {30, 32, 32, Lsb, 0x3ff00000, 0xffc00, 0x3ff}, {0x7d, 0xf5, 0xc3, 0x07}, 0xff1f3f5f, 12},
    {"bgr233", {8, 8, 32, Lsb, 0x7, 0x38, 0xc0}, {0x48}, 0xff002455, 4},
};

class Layouts : public testing::TestWithParam<LayoutCase> {};

QImage filled(int width, int height, QRgb colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

TEST_P(Layouts, WriteAndReadAKnownColour)
{
    const LayoutCase& c = GetParam();
    const PixelConverter converter(c.layout);
    Bytes out(c.layout.bytesPerLine(1));
    converter.fromRgb32(filled(1, 1, 0xff1f3f5f), QRect(0, 0, 1, 1), out.data(), out.size());
    EXPECT_EQ(Bytes(out.begin(), out.begin() + std::ptrdiff_t(c.written.size())), c.written);

    QImage back(1, 1, QImage::Format_RGB32);
    converter.toRgb32(out.data(), out.size(), back);
    EXPECT_EQ(back.pixel(0, 0), c.read);
}

TEST_P(Layouts, BlackAndWhiteStayFull)
{
    const PixelConverter converter(GetParam().layout);
    for (const QRgb colour : {0xff000000u, 0xffffffffu}) {
        Bytes out(converter.layout().bytesPerLine(1));
        converter.fromRgb32(filled(1, 1, colour), QRect(0, 0, 1, 1), out.data(), out.size());
        QImage back(1, 1, QImage::Format_RGB32);
        converter.toRgb32(out.data(), out.size(), back);
        EXPECT_EQ(back.pixel(0, 0), colour);
    }
}

TEST_P(Layouts, RowsArePadded)
{
    EXPECT_EQ(GetParam().layout.bytesPerLine(3), GetParam().rowOf3);
}

// What is read from the screen and written back is what the screen showed:
// a snapshot put back shows the desktop unchanged.
TEST_P(Layouts, ScreenPixelsSurviveAReadAndAWriteBack)
{
    const PixelLayout& layout = GetParam().layout;
    const PixelConverter converter(layout);
    constexpr int Width = 61, Height = 7;
    const std::size_t stride = layout.bytesPerLine(Width);
    Bytes random(stride * Height);
    QRandomGenerator generator(7);
    for (std::uint8_t& byte : random)
        byte = std::uint8_t(generator.bounded(256));
    // Random bytes hold bits no channel uses; one pass makes them screen pixels.
    QImage first(Width, Height, QImage::Format_RGB32);
    converter.toRgb32(random.data(), stride, first);
    Bytes screen(stride * Height);
    converter.fromRgb32(first, first.rect(), screen.data(), stride);

    QImage read(Width, Height, QImage::Format_RGB32);
    converter.toRgb32(screen.data(), stride, read);
    EXPECT_EQ(read, first);
    Bytes written(stride * Height);
    converter.fromRgb32(read, read.rect(), written.data(), stride);
    const std::size_t used = std::size_t(Width) * layout.bitsPerPixel / 8;
    for (int y = 0; y < Height; ++y)
        EXPECT_EQ(std::memcmp(written.data() + stride * y, screen.data() + stride * y, used), 0)
            << "row " << y;
}

INSTANTIATE_TEST_SUITE_P(Server, Layouts, testing::ValuesIn(layouts),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PixelConverter, WritesOnlyTheAreaAtTheStride)
{
    QImage image = filled(4, 3, 0xff000000);
    image.setPixel(1, 1, 0xffff0000);
    image.setPixel(2, 2, 0xff0000ff);
    const PixelConverter converter(layouts[0].layout);
    Bytes out(2 * 8, 0xee);
    converter.fromRgb32(image, QRect(1, 1, 2, 2), out.data(), 8);
    EXPECT_EQ(out, (Bytes{0x00, 0xf8, 0, 0, 0xee, 0xee, 0xee, 0xee,
                          0, 0, 0x1f, 0x00, 0xee, 0xee, 0xee, 0xee}));
}

TEST(PixelLayout, OnlyRgb32sOwnLayoutPassesUnconverted)
{
    EXPECT_TRUE((PixelLayout{24, 32, 32, Lsb, 0xff0000, 0xff00, 0xff}).isRgb32());
    EXPECT_TRUE((PixelLayout{32, 32, 32, Lsb, 0xff0000, 0xff00, 0xff}).isRgb32());
    for (const LayoutCase& c : layouts)
        EXPECT_FALSE(c.layout.isRgb32()) << c.name;
}

/** The fixed part of a connection's setup followed by its pixmap formats. */
class SetupBytes {
public:
    SetupBytes(std::uint8_t byteOrder, std::vector<xcb_format_t> formats)
        : bytes_(sizeof(xcb_setup_t) + formats.size() * sizeof(xcb_format_t))
    {
        xcb_setup_t head{};
        head.image_byte_order = byteOrder;
        head.pixmap_formats_len = std::uint8_t(formats.size());
        std::memcpy(bytes_.data(), &head, sizeof head);
        std::memcpy(bytes_.data() + sizeof head, formats.data(), formats.size() * sizeof(xcb_format_t));
    }
    const xcb_setup_t* get() const { return reinterpret_cast<const xcb_setup_t*>(bytes_.data()); }

private:
    std::vector<std::uint8_t> bytes_;
};

xcb_visualtype_t visual(std::uint8_t visualClass, std::uint32_t r, std::uint32_t g, std::uint32_t b)
{
    xcb_visualtype_t v{};
    v._class = visualClass;
    v.red_mask = r;
    v.green_mask = g;
    v.blue_mask = b;
    return v;
}

TEST(PixelLayout, ComesFromTheSetupForTrueColorOnly)
{
    const SetupBytes setup(XCB_IMAGE_ORDER_MSB_FIRST, {{1, 1, 32, {}}, {8, 8, 32, {}}, {16, 16, 32, {}},
                                                  {24, 32, 32, {}}});
    const auto rgb565 = pixelLayout(setup.get(), 16, visual(XCB_VISUAL_CLASS_TRUE_COLOR, 0xf800, 0x7e0, 0x1f));
    ASSERT_TRUE(rgb565);
    EXPECT_EQ(rgb565->bitsPerPixel, 16);
    EXPECT_EQ(rgb565->scanlinePad, 32);
    EXPECT_TRUE(rgb565->mostSignificantFirst);
    EXPECT_EQ(rgb565->greenMask, 0x7e0u);

    EXPECT_FALSE(pixelLayout(setup.get(), 8, visual(XCB_VISUAL_CLASS_PSEUDO_COLOR, 0, 0, 0)));
    EXPECT_FALSE(pixelLayout(setup.get(), 8, visual(XCB_VISUAL_CLASS_DIRECT_COLOR, 0x7, 0x38, 0xc0)));
    EXPECT_FALSE(pixelLayout(setup.get(), 8, visual(XCB_VISUAL_CLASS_STATIC_GRAY, 0, 0, 0)));
    // A depth without a pixmap format, and masks that are no channels.
    EXPECT_FALSE(pixelLayout(setup.get(), 12, visual(XCB_VISUAL_CLASS_TRUE_COLOR, 0xf00, 0xf0, 0xf)));
    EXPECT_FALSE(pixelLayout(setup.get(), 16, visual(XCB_VISUAL_CLASS_TRUE_COLOR, 0xf800, 0x7a0, 0x1f)));
    EXPECT_FALSE(pixelLayout(setup.get(), 16, visual(XCB_VISUAL_CLASS_TRUE_COLOR, 0xff0000, 0xff00, 0xff)));
}

} // namespace
} // namespace platform::x11
