// The hack's window and its ground, on the offscreen platform.
#include "hack/FrogHack.h"
#include "hack/HackGround.h"
#include "tests/support/SceneTest.h"

#include <QResizeEvent>

namespace {

constexpr QRgb White = 0xffffffff;
constexpr QRgb Black = 0xff000000;

/** Rows (or columns, along the other axis) of image that are wholly one colour. */
bool wholly(const QImage& image, const QRect& area, QRgb colour)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) != colour)
                return false;
    return true;
}

/** fittedInto on memory that held white just before: an unfilled ground would show it. */
QImage fittedOnDirtyMemory(const QImage& copy, QSize size)
{
    // Fresh memory from the system is zero, which reads as black; a block
    // freed just before, of the same size, is what the ground is made in.
    testsprites::uniform(size.width(), size.height(), White);
    return fittedInto(copy, size);
}

TEST(HackGround, KeepsTheDesktopsProportionsCentredOnBlack)
{
    // A 2560 x 1024 desktop, a tenth of it, into a 16:9 box: bars above and below.
    const QImage wide = fittedOnDirtyMemory(testsprites::uniform(256, 102, White), QSize(48, 27));
    ASSERT_EQ(wide.size(), QSize(48, 27));
    EXPECT_TRUE(wholly(wide, QRect(0, 0, 48, 4), Black));
    EXPECT_TRUE(wholly(wide, QRect(0, 4, 48, 19), White));
    EXPECT_TRUE(wholly(wide, QRect(0, 23, 48, 4), Black));
    // A tall one: bars left and right.
    const QImage tall = fittedOnDirtyMemory(testsprites::uniform(50, 100, White), QSize(40, 20));
    EXPECT_TRUE(wholly(tall, QRect(0, 0, 15, 20), Black));
    EXPECT_TRUE(wholly(tall, QRect(15, 0, 10, 20), White));
    EXPECT_TRUE(wholly(tall, QRect(25, 0, 15, 20), Black));
    // No copy at all: black.
    EXPECT_TRUE(wholly(fittedOnDirtyMemory(QImage(), QSize(30, 20)), QRect(0, 0, 30, 20), Black));
}

struct OpenFrogHack : FrogHack {
    using FrogHack::FrogHack;
    using FrogHack::resizeEvent;
};

class HackWindow : public testing::Test {
protected:
    ~HackWindow() override { SaverSettings = {}; }

    FilmingPlatform platform;
    SpriteSet sprites = testsprites::make();
    QRgb groundColour = 0xffc00000;
    std::vector<QSize> asked;
    FrogHack::GroundSource ground = [this](QSize size) {
        asked.push_back(size);
        return testsprites::uniform(size.width(), size.height(), groundColour);
    };
};

TEST_F(HackWindow, EveryNewSizeBringsNewGroundUnderTheFrogsAndOnScreen)
{
    SaverSettings = {};
    OpenFrogHack window(platform, sprites, nullptr, QSize(400, 300), ground);
    window.scheduler().StartTick();
    const QRgb oldColour = groundColour;
    groundColour = 0xff0000c0;
    // Taller only, then wider only: each is a new size.
    for (const QSize size : {QSize(400, 360), QSize(460, 360)}) {
        QResizeEvent event(size, window.canvas().size());
        window.resizeEvent(&event);
        EXPECT_EQ(asked.back(), size);
        ASSERT_EQ(window.canvas().size(), size);
        EXPECT_EQ(platform.calls.back(), "refresh(0,0," + std::to_string(size.width()) + ","
                                             + std::to_string(size.height()) + ")");
        const QImage onNewGround = testsprites::withFrog(
            testsprites::withFrog(testsprites::uniform(size.width(), size.height(), groundColour),
                                  sprites, true, 1, 175, 175),
            sprites, false, 1, 326, 326);
        EXPECT_EQ(platform.shown.back(), onNewGround);
    }
    // A jump puts back what the frogs saved where they sat: the new ground.
    window.scheduler().MoveTick();
    ASSERT_NE(window.greenFrog().DrawnX, 175);
    const QImage after = window.canvas();
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x)
            ASSERT_NE(after.pixel(x, y), oldColour) << "old ground at " << x << "," << y;
}

} // namespace
