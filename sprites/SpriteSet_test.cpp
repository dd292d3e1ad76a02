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

} // namespace
