#include "platform/wayland/KWinScreenShot.h"

#include <gtest/gtest.h>

namespace {

using platform::wayland::rawImage;

QVariantMap described(int width, int height, int stride, QImage::Format format)
{
    return {{QStringLiteral("type"), QStringLiteral("raw")}, {QStringLiteral("width"), uint(width)},
            {QStringLiteral("height"), uint(height)}, {QStringLiteral("stride"), uint(stride)},
            {QStringLiteral("format"), uint(format)}, {QStringLiteral("scale"), 1.0}};
}

QByteArray bytes(std::initializer_list<quint8> values) { return QByteArray(reinterpret_cast<const char*>(std::data(values)), int(values.size())); }

/** The image's words as stored: QImage::pixel() would hide a wrong alpha byte. */
std::vector<quint32> stored(const QImage& image)
{
    std::vector<quint32> words;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const quint32*>(image.constScanLine(y));
        words.insert(words.end(), row, row + image.width());
    }
    return words;
}

// Two pixels a row, two rows, with a padded stride: red and green, then blue
// and a grey whose alpha is 0. The screen shows colour, never alpha: the
// picture is what the output showed, whatever KWin's buffer held as alpha.
TEST(RawImage, ReadsKWinsFormatsAsTheScreenShowedThem)
{
    const std::vector<quint32> shown{0xffff0000u, 0xff00ff00u, 0xff0000ffu, 0xff808080u};
    struct Case {
        QImage::Format format;
        QByteArray rows; // stride 12: two pixels and four bytes of padding
    } cases[] = {
        // Little-endian 0xAARRGGBB words, as KWin sends formats 4, 5 and 6.
        {QImage::Format_RGB32, bytes({0, 0, 255, 255, 0, 255, 0, 255, 9, 9, 9, 9,
                                      255, 0, 0, 255, 128, 128, 128, 255, 9, 9, 9, 9})},
        {QImage::Format_ARGB32, bytes({0, 0, 255, 255, 0, 255, 0, 128, 9, 9, 9, 9,
                                       255, 0, 0, 255, 128, 128, 128, 0, 9, 9, 9, 9})},
        {QImage::Format_ARGB32_Premultiplied, bytes({0, 0, 255, 255, 0, 255, 0, 255, 9, 9, 9, 9,
                                                     255, 0, 0, 7, 128, 128, 128, 0, 9, 9, 9, 9})},
        // Bytes in the order R, G, B, A.
        {QImage::Format_RGBA8888, bytes({255, 0, 0, 255, 0, 255, 0, 255, 9, 9, 9, 9,
                                         0, 0, 255, 255, 128, 128, 128, 0, 9, 9, 9, 9})},
    };
    for (const Case& c : cases) {
        const QImage image = rawImage(c.rows, described(2, 2, 12, c.format));
        ASSERT_FALSE(image.isNull()) << c.format;
        EXPECT_EQ(image.format(), QImage::Format_RGB32) << c.format;
        EXPECT_EQ(stored(image), shown) << c.format;
    }
}

TEST(RawImage, GivesNoPictureForBytesAndDescriptionsThatDoNotMakeOne)
{
    const QByteArray rows(24, '\x40');
    QVariantMap notRaw = described(2, 2, 12, QImage::Format_RGB32);
    notRaw[QStringLiteral("type")] = QStringLiteral("png");
    const QVariantMap bad[] = {
        notRaw,
        described(2, 2, 7, QImage::Format_RGB32),        // a row longer than the stride
        described(2, 3, 12, QImage::Format_RGB32),       // more rows than bytes
        described(0, 2, 12, QImage::Format_RGB32),
        described(2, 2, 12, QImage::Format_Indexed8),    // no colour table comes
        described(2, 2, 12, QImage::Format(999)),
        {},
    };
    for (const QVariantMap& description : bad)
        EXPECT_TRUE(rawImage(rows, description).isNull()) << description.size();
    EXPECT_FALSE(rawImage(rows, described(2, 2, 12, QImage::Format_RGB32)).isNull());
}

} // namespace
