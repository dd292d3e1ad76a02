#include "platform/fake/FakePlatform.h"
#include "startup/Globals.h"
#include "startup/Main.h"

#include <gtest/gtest.h>

namespace {

using platform::FakePlatform;

struct RecordedWindows : ModeWindows {
    std::vector<std::string> opened;
    void showSaver() override { opened.push_back("frog1"); }
    void showSettingsModal() override { opened.push_back("FrogSet"); }
    void loadPreview() override { opened.push_back("FrmPrev"); }
};

struct DispatchCase {
    const char* argumentText;
    const char* opened; // "" when no window opens
    bool keepsRunning;
};

/** Main with the case's arguments keeps running or not, and opens its window. */
void expectDispatch(FakePlatform& fake, const DispatchCase& c)
{
    RecordedWindows windows;
    EXPECT_EQ(Main(fake, windows), c.keepsRunning);
    const std::string opened = c.opened;
    EXPECT_EQ(windows.opened, opened.empty() ? std::vector<std::string>{}
                                             : std::vector<std::string>{opened});
}

class Dispatch : public testing::TestWithParam<DispatchCase> {};

TEST_P(Dispatch, OpensTheWindowOfTheMode)
{
    FakePlatform fake;
    fake.commandText = GetParam().argumentText;
    expectDispatch(fake, GetParam());
    // Settings are loaded whatever the mode.
    EXPECT_EQ(fake.callsStartingWith("rtcGetSetting").size(), 5u);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, Dispatch,
    testing::Values(DispatchCase{"", "FrogSet", false}, DispatchCase{"/c", "FrogSet", false},
                    DispatchCase{"/C:4711", "FrogSet", false},
                    DispatchCase{"/c 4711", "FrogSet", false}, DispatchCase{"/s", "frog1", true},
                    DispatchCase{"/S 1234", "frog1", true}, DispatchCase{"/p 4711", "FrmPrev", true},
                    DispatchCase{"/P", "FrmPrev", true}, DispatchCase{"s", "", false},
                    DispatchCase{"-s", "", false}, DispatchCase{"/A", "", false},
                    DispatchCase{"x", "", false}, DispatchCase{" /S", "", false},
                    DispatchCase{"/", "", false}));

struct PreviewCase {
    const char* argumentText;
    std::int32_t parent;
};

class PreviewArgument : public testing::TestWithParam<PreviewCase> {};

TEST_P(PreviewArgument, SetsPreviewParent)
{
    FakePlatform fake;
    fake.commandText = GetParam().argumentText;
    RecordedWindows windows;
    PreviewParent = -1;
    Main(fake, windows);
    EXPECT_EQ(PreviewParent, GetParam().parent);
}

INSTANTIATE_TEST_SUITE_P(Numbers, PreviewArgument,
                         testing::Values(PreviewCase{"/p 4711", 4711}, PreviewCase{"/P", 0},
                                         PreviewCase{"/p4711", 4711},
                                         PreviewCase{"/p  \t 12.5", 12},
                                         PreviewCase{"/p 13.5", 14}, PreviewCase{"/p abc", 0},
                                         PreviewCase{"/p 2147483647", 2147483647},
                                         PreviewCase{"/p 99999999999", 0},
                                         PreviewCase{"/p -99999999999", 0},
                                         PreviewCase{"/p 1e400", 0}));

TEST(Main, RecordsTheScreenScaleRounded)
{
    FakePlatform fake;
    fake.commandText = "/A";
    fake.twipsX = 15.0;
    fake.twipsY = 14.6;
    RecordedWindows windows;
    Main(fake, windows);
    EXPECT_EQ(UnitsPerPixelX, 15);
    EXPECT_EQ(UnitsPerPixelY, 15);
}

TEST(Main, SaverHidesTheCursorBeforeShowingTheWindow)
{
    FakePlatform fake;
    fake.commandText = "/s";
    RecordedWindows windows;
    Main(fake, windows);
    EXPECT_EQ(fake.callsStartingWith("FindWindowA"), std::vector<std::string>{"FindWindowA(null,frog)"});
    EXPECT_EQ(fake.cursorCount, -1);
}

TEST(Main, SecondSaverEndsWithoutTouchingTheCursor)
{
    FakePlatform fake;
    fake.commandText = "/S";
    fake.existingFrogWindow = 0x1200007;
    RecordedWindows windows;
    EXPECT_FALSE(Main(fake, windows));
    EXPECT_TRUE(windows.opened.empty());
    EXPECT_TRUE(fake.callsStartingWith("ShowCursor").empty());
}

TEST(Main, SaverStartingAtTheSameMomentWinsOverThisOne)
{
    FakePlatform fake;
    fake.commandText = "/S";
    fake.saverInstanceFree = false;
    RecordedWindows windows;
    EXPECT_FALSE(Main(fake, windows));
    EXPECT_TRUE(windows.opened.empty());
    EXPECT_TRUE(fake.callsStartingWith("ShowCursor").empty());
}

// On a screen of palette colours the saver and the preview end at once and
// touch nothing (no cursor, no claim on the display); the dialog still opens.
class PaletteScreen : public testing::TestWithParam<DispatchCase> {};

TEST_P(PaletteScreen, OnlyTheDialogOpens)
{
    FakePlatform fake;
    fake.trueColour = false;
    fake.commandText = GetParam().argumentText;
    expectDispatch(fake, GetParam());
    EXPECT_TRUE(fake.callsStartingWith("ShowCursor").empty());
    EXPECT_TRUE(fake.callsStartingWith("claimSaverInstance").empty());
    EXPECT_EQ(fake.cursorCount, 0);
}

INSTANTIATE_TEST_SUITE_P(Modes, PaletteScreen,
                         testing::Values(DispatchCase{"/S", "", false},
                                         DispatchCase{"/p 4711", "", false},
                                         DispatchCase{"/C", "FrogSet", false},
                                         DispatchCase{"", "FrogSet", false}));

} // namespace
