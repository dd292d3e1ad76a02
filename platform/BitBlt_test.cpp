#include "platform/BitBlt.h"

#include <gtest/gtest.h>

namespace {

using namespace platform;

QImage filled(int w, int h, QRgb colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

TEST(BitBlt, RasterOpsWorkOnEachChannel)
{
    QImage dst = filled(2, 1, qRgb(0xf0, 0x0f, 0xff));
    const QImage src = filled(2, 1, qRgb(0x3c, 0x3c, 0x00));
    BitBlt(dst, 0, 0, 1, 1, src, 0, 0, SRCAND);
    EXPECT_EQ(dst.pixel(0, 0), qRgb(0x30, 0x0c, 0x00));
    BitBlt(dst, 1, 0, 1, 1, src, 0, 0, SRCINVERT);
    EXPECT_EQ(dst.pixel(1, 0), qRgb(0xcc, 0x33, 0xff));
    BitBlt(dst, 0, 0, 2, 1, src, 0, 0, SRCCOPY);
    EXPECT_EQ(dst.pixel(0, 0), qRgb(0x3c, 0x3c, 0x00));
    EXPECT_EQ(qAlpha(dst.pixel(1, 0)), 0xff);
}

TEST(BitBlt, ClipsAtEveryEdgeAndNeverWritesOutside)
{
    const QImage src = filled(4, 4, qRgb(255, 255, 255));
    for (auto [dx, dy] : {std::pair{-2, -2}, {8, -2}, {-2, 8}, {8, 8}, {-4, 0}, {10, 3}}) {
        QImage dst = filled(10, 10, qRgb(0, 0, 0));
        BitBlt(dst, dx, dy, 4, 4, src, 0, 0, SRCCOPY);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x) {
                const bool inside = x >= dx && x < dx + 4 && y >= dy && y < dy + 4;
                EXPECT_EQ(dst.pixel(x, y), inside ? qRgb(255, 255, 255) : qRgb(0, 0, 0))
                    << dx << "," << dy << " at " << x << "," << y;
            }
    }
}

TEST(BitBlt, ClipsToTheSourceToo)
{
    // A 95 x 95 request from a 10 x 10 source only moves the 10 x 10 it has.
    const QImage src = filled(10, 10, qRgb(1, 2, 3));
    QImage dst = filled(20, 20, qRgb(0, 0, 0));
    EXPECT_TRUE(BitBlt(dst, 5, 5, 95, 95, src, 0, 0, SRCCOPY));
    EXPECT_EQ(dst.pixel(14, 14), qRgb(1, 2, 3));
    EXPECT_EQ(dst.pixel(15, 15), qRgb(0, 0, 0));
    // Reading from a negative source corner shifts the destination with it.
    QImage dst2 = filled(20, 20, qRgb(0, 0, 0));
    BitBlt(dst2, 0, 0, 5, 5, src, -3, -3, SRCCOPY);
    EXPECT_EQ(dst2.pixel(2, 2), qRgb(0, 0, 0));
    EXPECT_EQ(dst2.pixel(3, 3), qRgb(1, 2, 3));
}

} // namespace
