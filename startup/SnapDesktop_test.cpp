#include "platform/fake/FakePlatform.h"
#include "startup/SnapDesktop.h"
#include "tests/support/TestSprites.h"

#include <gtest/gtest.h>

namespace {

using platform::FakePlatform;

TEST(SnapDesktop, CopiesTheScreenOneToOneAndReleasesTheDisplay)
{
    FakePlatform fake;
    fake.screenImage = testsprites::noise(640, 480);
    QImage image = testsprites::uniform(640, 480, 0xff000000);
    SnapDesktop(fake, image);
    EXPECT_EQ(image, fake.screenImage);
    // A copy of the whole screen becomes the image itself: no second buffer filled.
    EXPECT_EQ(image.constBits(), fake.screenImage.constBits());
    EXPECT_EQ(fake.calls, (std::vector<std::string>{"CreateDCA(DISPLAY)", "DeleteDC"}));
}

TEST(SnapDesktop, CutsALargerScreenAtTheRightAndBottom)
{
    FakePlatform fake;
    fake.screenImage = testsprites::noise(640, 480);
    QImage image = testsprites::uniform(300, 200, 0xff000000);
    SnapDesktop(fake, image);
    EXPECT_EQ(image, fake.screenImage.copy(0, 0, 300, 200));
}

TEST(SnapDesktop, WithoutAScreenTheImageIsBlackAndTheDisplayStillReleased)
{
    FakePlatform fake; // no screen image: the display cannot be opened
    QImage image = testsprites::noise(64, 48);
    SnapDesktop(fake, image);
    EXPECT_EQ(image, testsprites::uniform(64, 48, 0xff000000));
    EXPECT_EQ(fake.calls, (std::vector<std::string>{"CreateDCA(DISPLAY)", "DeleteDC"}));
}

TEST(SnapDesktop, ExtentsAreInTwips)
{
    // At 1 twip per pixel the extents equal the screen, and still cover it;
    // a screen reported smaller than the picture copies only that much.
    FakePlatform fake;
    fake.twipsX = fake.twipsY = 1.0;
    fake.screen = QSize(100, 50);
    fake.screenImage = testsprites::noise(640, 480);
    QImage image = testsprites::noise(640, 480, 7); // the rest turns black
    SnapDesktop(fake, image);
    QImage expected = testsprites::uniform(640, 480, 0xff000000);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 100; ++x)
            expected.setPixel(x, y, fake.screenImage.pixel(x, y));
    EXPECT_EQ(image, expected);
}

} // namespace
