#include "platform/fake/FakePlatform.h"
#include "preview/FrmPrev.h"
#include "startup/Globals.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

using platform::FakePlatform;

constexpr std::int32_t HostId = 4711;

// A stand-in still: grey with a few marked pixels, so any shift or scaling shows.
QImage greyStill()
{
    QImage still(160, 120, QImage::Format_RGB32);
    still.fill(qRgb(128, 128, 128));
    still.setPixel(0, 0, qRgb(255, 0, 0));
    still.setPixel(159, 119, qRgb(0, 0, 255));
    still.setPixel(47, 27, qRgb(255, 255, 0));
    return still;
}

class Preview : public testing::Test {
protected:
    void SetUp() override
    {
        UnitsPerPixelX = UnitsPerPixelY = 15;
        PreviewParent = HostId;
    }
    void TearDown() override { UnitsPerPixelX = UnitsPerPixelY = PreviewParent = 0; }

    // Loads the window as start-up does and forgets the calls of the load.
    std::unique_ptr<FrmPrev> loaded()
    {
        auto window = std::make_unique<FrmPrev>(fake, greyStill());
        window->Form_Load();
        fake.calls.clear();
        return window;
    }

    static QTimer* timer1(FrmPrev& window) { return window.findChild<QTimer*>(); }
    static void tick(FrmPrev& window) { QMetaObject::invokeMethod(timer1(window), "timeout"); }

    FakePlatform fake;
};

TEST(PreviewPixels, TheStillKeepsItsSizeAtEveryScale)
{
    for (std::int16_t units : {15, 12, 10, 8, 1, 204})
        EXPECT_EQ(previewPixels(160, units), 160) << units;
    EXPECT_EQ(previewPixels(120, 15), 120);
    // No scale at all, or one whose 16-bit product would overflow.
    for (std::int16_t units : {0, -15, 205, 3000})
        EXPECT_EQ(previewPixels(160, units), 160) << units;
}

TEST_F(Preview, LoadPutsTheHiddenPictureIntoTheHostAtTheStillsSize)
{
    FrmPrev window(fake, greyStill());
    window.Form_Load();

    EXPECT_EQ(fake.calls, std::vector<std::string>{"SetParent(" + std::to_string(window.pictureId())
                                                    + "," + std::to_string(HostId) + ")"});
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.windowTitle(), "Preview");
    auto* picture = window.findChild<QLabel*>("Picture1");
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->geometry(), QRect(0, 0, 160, 120));
    EXPECT_EQ(picture->frameWidth(), 0);
    // Its own window to Qt, but inside the hidden preview window, never on the desktop.
    ASSERT_NE(picture->windowHandle(), nullptr);
    EXPECT_EQ(picture->windowHandle()->parent(), window.windowHandle());
    // Shown pixel for pixel, unscaled, from the top-left corner.
    EXPECT_EQ(picture->grab().toImage().convertToFormat(QImage::Format_RGB32), greyStill());
    EXPECT_TRUE(timer1(window)->isActive());
    EXPECT_EQ(timer1(window)->interval(), 400);
}

TEST_F(Preview, EachTickWhileTheHostHoldsThePictureOnlyChecks)
{
    auto window = loaded();
    QSignalSpy unloaded(window.get(), &FrmPrev::unloaded);
    for (int i = 0; i < 3; ++i)
        tick(*window);

    const std::string check =
        "IsChild(" + std::to_string(HostId) + "," + std::to_string(window->pictureId()) + ")";
    EXPECT_EQ(fake.calls, std::vector<std::string>(3, check));
    EXPECT_EQ(unloaded.count(), 0);
    EXPECT_TRUE(timer1(*window)->isActive());
}

TEST_F(Preview, TheFirstTickAfterTheHostWentTakesThePictureBackAndUnloads)
{
    auto window = loaded();
    QSignalSpy unloaded(window.get(), &FrmPrev::unloaded);
    tick(*window);
    fake.parents.erase(window->pictureId()); // the host destroyed its window
    tick(*window);

    const std::string picture = std::to_string(window->pictureId());
    EXPECT_EQ(fake.calls, (std::vector<std::string>{
                              "IsChild(" + std::to_string(HostId) + "," + picture + ")",
                              "IsChild(" + std::to_string(HostId) + "," + picture + ")",
                              "SetParent(" + picture + "," + std::to_string(window->homeId()) + ")"}));
    EXPECT_EQ(unloaded.count(), 1);
    EXPECT_FALSE(timer1(*window)->isActive());
}

TEST_F(Preview, NoHostEndsAtTheFirstTick)
{
    PreviewParent = 0;
    auto window = loaded();
    QSignalSpy unloaded(window.get(), &FrmPrev::unloaded);
    tick(*window);
    EXPECT_EQ(unloaded.count(), 1);
    EXPECT_EQ(fake.callsStartingWith("SetParent").size(), 1u);
}

} // namespace
