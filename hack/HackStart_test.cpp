#include "hack/HackStart.h"

#include "platform/fake/FakePlatform.h"
#include "startup/Globals.h"

#include <gtest/gtest.h>

namespace {

constexpr platform::WindowId Root = 0x100;

struct Target {
    std::vector<std::string> args;
    std::optional<std::string> hostWindow; // $XSCREENSAVER_WINDOW
    std::optional<platform::WindowId> window;
};

void PrintTo(const Target& row, std::ostream* out)
{
    for (const auto& arg : row.args)
        *out << "[" << arg << "]";
    *out << " XSCREENSAVER_WINDOW=" << row.hostWindow.value_or("(unset)");
}

class HackTarget : public testing::TestWithParam<Target> {};

TEST_P(HackTarget, IsTheWindowTheHostMeant)
{
    std::string error;
    const auto options = parseHackOptions(GetParam().args, error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(targetWindow(*options, GetParam().hostWindow, Root), GetParam().window);
}

INSTANTIATE_TEST_SUITE_P(Hack, HackTarget, testing::Values(
    // A window of its own, to try it; the root only when asked for.
    Target{{}, std::nullopt, 0u},
    Target{{"--root"}, std::nullopt, Root},
    // XScreenSaver's window, whether or not --root is given.
    Target{{"--root"}, "0x400007", 0x400007u},
    Target{{}, "0x400007", 0x400007u},
    Target{{"-root"}, "4194311", 4194311u},
    // --window-id wins over everything.
    Target{{"--window-id", "77"}, "0x400007", 77u},
    Target{{"--root", "--window-id", "0x4d"}, std::nullopt, 77u},
    // A host's id that is none is an error, not the root window.
    Target{{"--root"}, "junk", std::nullopt},
    Target{{}, "0", std::nullopt}));

struct FrogScaleCase {
    const char* name;
    std::vector<std::string> args;
    int desktopScale;
    platform::WindowId host; // 0: a window of its own
    QSize window;
    double scale;
};

void PrintTo(const FrogScaleCase& row, std::ostream* out)
{
    *out << row.name;
}

class HackFrogScale : public testing::TestWithParam<FrogScaleCase> {};

TEST_P(HackFrogScale, OnA4kScreen)
{
    const FrogScaleCase& c = GetParam();
    platform::FakePlatform fake;
    fake.screen = QSize(3840, 2160);
    fake.scale = c.desktopScale;
    std::string error;
    const auto options = parseHackOptions(c.args, error);
    ASSERT_TRUE(options) << error;
    EXPECT_DOUBLE_EQ(hackFrogScale(fake, *options, c.host, c.window), c.scale);
}

INSTANTIATE_TEST_SUITE_P(Hack, HackFrogScale, testing::Values(
    FrogScaleCase{"TheRoot", {"--root"}, 2, Root, {3840, 2160}, 2},
    FrogScaleCase{"AHostsPreviewInMiniature", {}, 1, 0x400007, {480, 270}, 0.125},
    // A window of its own is no preview, however small beside the screen.
    FrogScaleCase{"ItsOwnSmallWindow", {}, 2, 0, {1024, 768}, 2},
    FrogScaleCase{"ItsOwnWindowAtAScaleAskedFor", {"--scale", "3"}, 1, 0, {1024, 768}, 3}));

class HackRunSettings : public testing::Test {
protected:
    HackRunSettings()
    {
        fake.store = {{"lilywade/startup/hole", "1"},  {"lilywade/startup/streak", "1"},
                      {"lilywade/startup/sound", "1"}, {"lilywade/startup/blank", "1"},
                      {"lilywade/startup/speed", "120"}};
    }
    ~HackRunSettings() override { SaverSettings = {}; }

    SaverSettingsRecord settingsFor(const std::vector<std::string>& args)
    {
        std::string error;
        const auto options = parseHackOptions(args, error);
        EXPECT_TRUE(options) << error;
        return options ? hackSettings(fake, *options) : SaverSettingsRecord{};
    }

    platform::FakePlatform fake;
};

TEST_F(HackRunSettings, ALineOfItsOwnTakesTheRestFromTheStore)
{
    EXPECT_EQ(settingsFor({"--root"}),
              (SaverSettingsRecord{.Hole = -1, .Streak = -1, .Sound = -1, .Blank = -1, .Speed = 120}));
    // What the command line names wins over what is stored.
    EXPECT_EQ(settingsFor({"--root", "--speed", "10", "--no-sound", "--no-blank"}),
              (SaverSettingsRecord{.Hole = -1, .Streak = -1, .Sound = 0, .Blank = 0, .Speed = 10}));
}

TEST_F(HackRunSettings, XScreenSaversDialogLineIsTheWholeTruth)
{
    // The dialog's defaults: every box off, the slider at "Faster" (no --speed).
    EXPECT_EQ(settingsFor({"--root", "--no-stored-settings", "--no-hole", "--no-streak",
                           "--no-sound", "--no-blank"}),
              SaverSettingsRecord{});
    EXPECT_EQ(settingsFor({"--root", "--no-stored-settings", "--streak"}),
              (SaverSettingsRecord{.Hole = 0, .Streak = -1, .Sound = 0, .Blank = 0, .Speed = 0}));
    EXPECT_TRUE(fake.callsStartingWith("rtcGetSetting").empty());
}

} // namespace
