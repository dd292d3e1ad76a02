#include "sprites/FrogScale.h"
#include "sprites/SpriteSet.h"

#include <gtest/gtest.h>

namespace {

TEST(SpriteSet, DecodesEveryEmbeddedPictureAsRgb32)
{
    const SpriteSet& set = loadSprites();
    for (int k = 0; k < 8; ++k) {
        SCOPED_TRACE(k + 1);
        for (const QImage* image : {&set.green[k], &set.red[k], &set.mask[k]}) {
            EXPECT_EQ(image->size(), QSize(CellSize, CellSize));
            EXPECT_EQ(image->format(), QImage::Format_RGB32);
        }
    }
    EXPECT_EQ(set.preview.size(), QSize(160, 120));
    EXPECT_EQ(set.preview.format(), QImage::Format_RGB32);
}

TEST(SpriteSet, DecodesOnceAndHandsOutTheSameSet)
{
    EXPECT_EQ(&loadSprites(), &loadSprites());
}

TEST(SpriteSet, KeepsExactColoursOfTheBitmaps)
{
    // Corners are outside every frog: black in the frames, white in the masks.
    const SpriteSet& set = loadSprites();
    EXPECT_EQ(set.green[0].pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(set.mask[0].pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(set.preview.pixel(0, 0), qRgb(128, 128, 128));
    // The upright sitting frog's snout tip is its outline colour.
    const QImage& green = set.green[0];
    int top = 0;
    while (top < CellSize && green.pixel(47, top) == qRgb(0, 0, 0))
        ++top;
    ASSERT_LT(top, CellSize);
    EXPECT_EQ(green.pixel(47, top), qRgb(0, 124, 0));
}

TEST(ScaledSprites, AWholeScaleRepeatsEachPixelAndKeepsTheRasterOps)
{
    const SpriteSet& base = loadSprites();
    const SpriteSet set = scaledSprites(base, 3);
    EXPECT_EQ(set.cell, 285);
    EXPECT_FALSE(set.blended);
    for (int k = 0; k < 8; ++k)
        for (const auto& [big, small] : {std::pair(&set.green[k], &base.green[k]),
                                         std::pair(&set.red[k], &base.red[k]),
                                         std::pair(&set.mask[k], &base.mask[k])}) {
            ASSERT_EQ(big->size(), QSize(285, 285));
            ASSERT_EQ(big->format(), QImage::Format_RGB32);
            for (int y = 0; y < 285; ++y)
                for (int x = 0; x < 285; ++x)
                    ASSERT_EQ(big->pixel(x, y), small->pixel(x / 3, y / 3)) << k << " " << x << "," << y;
        }
    EXPECT_EQ(&scaledSprites(base, 1).green[0].constBits()[0], &base.green[0].constBits()[0]);
}

TEST(ScaledSprites, APreviewScaleReducesSmoothlyKeepingTheMasksWholeParts)
{
    const SpriteSet& base = loadSprites();
    const SpriteSet set = scaledSprites(base, 0.125);
    EXPECT_EQ(set.cell, 12);
    EXPECT_TRUE(set.blended);
    for (int k = 0; k < 8; ++k) {
        const QImage& mask = set.mask[k];
        ASSERT_EQ(mask.size(), QSize(12, 12));
        int black = 0, white = 0;
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 12; ++x) {
                // A pixel whose source (with a pixel's margin) is all of one
                // kind is exactly that kind.
                const QRect source = QRect(QPoint(x * 95 / 12 - 1, y * 95 / 12 - 1),
                                           QPoint((x + 1) * 95 / 12, (y + 1) * 95 / 12))
                    & QRect(0, 0, 95, 95);
                const QRgb first = base.mask[k].pixel(source.topLeft());
                bool uniform = true;
                for (int sy = source.top(); sy <= source.bottom(); ++sy)
                    for (int sx = source.left(); sx <= source.right(); ++sx)
                        uniform = uniform && base.mask[k].pixel(sx, sy) == first;
                if (uniform) {
                    EXPECT_EQ(mask.pixel(x, y), first) << k << " " << x << "," << y;
                }
                black += mask.pixel(x, y) == 0xff000000;
                white += mask.pixel(x, y) == 0xffffffff;
                // A frame is black wherever its mask lets the ground through
                // whole, so adding it changes nothing there.
                if (mask.pixel(x, y) == 0xffffffff) {
                    EXPECT_EQ(set.green[k].pixel(x, y), 0xff000000) << k << " " << x << "," << y;
                }
            }
        EXPECT_GT(black, 0) << k;
        EXPECT_GT(white, 40) << k;
    }
}

struct ScaleCase {
    int screenScale;
    QSize window, screen;
    double scale;
};

class FrogScaleIn : public testing::TestWithParam<ScaleCase> {};

TEST_P(FrogScaleIn, AWindowOnAScreen)
{
    const ScaleCase& c = GetParam();
    EXPECT_DOUBLE_EQ(windowFrogScale(c.screenScale, c.window, c.screen), c.scale);
}

INSTANTIATE_TEST_SUITE_P(Hack, FrogScaleIn, testing::Values(
    // The whole screen, one monitor of two, a quarter of four: the screen's size.
    ScaleCase{1, {1920, 1080}, {1920, 1080}, 1},
    ScaleCase{2, {3840, 2160}, {3840, 2160}, 2},
    ScaleCase{1, {1280, 1024}, {2560, 1024}, 1},
    ScaleCase{2, {1920, 1080}, {3840, 2160}, 2},
    ScaleCase{1, {1280, 1024}, {3840, 1024}, 1},
    // Previews: the screen in miniature.
    ScaleCase{1, {480, 270}, {3840, 2160}, 0.125},
    ScaleCase{2, {480, 270}, {3840, 2160}, 0.25},
    ScaleCase{1, {320, 240}, {2560, 1024}, 0.125},
    ScaleCase{1, {0, 0}, {1920, 1080}, 1}));

TEST(FrogScale, ADesktopsScaleIsHeldWithin1To4)
{
    EXPECT_EQ(screenFrogScale(0), 1);
    EXPECT_EQ(screenFrogScale(1), 1);
    EXPECT_EQ(screenFrogScale(3), 3);
    EXPECT_EQ(screenFrogScale(5), 4);
}

} // namespace
