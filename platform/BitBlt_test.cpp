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
    // dx, dy, sx, sy of a 4 x 4 block from a 4 x 4 source; the last two start
    // left of and above the source, so part of the request has nothing to copy.
    const QImage src = filled(4, 4, qRgb(255, 255, 255));
    const QRgb untouched = qRgb(40, 80, 120);
    const int blocks[][4] = {{-2, -2, 0, 0}, {8, -2, 0, 0}, {-2, 8, 0, 0}, {8, 8, 0, 0},
                             {-4, 0, 0, 0},  {10, 3, 0, 0}, {0, 0, -3, 0}, {0, 0, 0, -3}};
    for (const auto& [dx, dy, sx, sy] : blocks) {
        QImage dst = filled(10, 10, untouched);
        BitBlt(dst, dx, dy, 4, 4, src, sx, sy, SRCCOPY);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x) {
                const QPoint request(x - dx, y - dy);
                const bool inside = QRect(0, 0, 4, 4).contains(request)
                    && src.rect().contains(request + QPoint(sx, sy));
                EXPECT_EQ(dst.pixel(x, y), inside ? qRgb(255, 255, 255) : untouched)
                    << dx << "," << dy << " from " << sx << "," << sy << " at " << x << "," << y;
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
