#include "platform/fake/FakePlatform.h"
#include "startup/Cursor.h"
#include "startup/Globals.h"

#include <gtest/gtest.h>

using platform::FakePlatform;
using Calls = std::vector<std::string>;

struct CursorCase {
    std::int32_t before;
    Calls hideCalls;
    std::int16_t base;
    Calls restoreCalls;
};

class CursorSequence : public testing::TestWithParam<CursorCase> {};

TEST_P(CursorSequence, HidesThenRestoresToTheCountBefore)
{
    FakePlatform fake;
    fake.cursorCount = GetParam().before;
    HideCursor(fake);
    EXPECT_EQ(fake.calls, GetParam().hideCalls);
    EXPECT_EQ(CursorBase, GetParam().base);
    EXPECT_LT(fake.cursorCount, 0);
    fake.calls.clear();
    RestoreCursor(fake);
    EXPECT_EQ(fake.calls, GetParam().restoreCalls);
    EXPECT_EQ(fake.cursorCount, GetParam().before);
}

INSTANTIATE_TEST_SUITE_P(
    Counts, CursorSequence,
    testing::Values(CursorCase{0, {"ShowCursor(0)=-1"}, 0, {"ShowCursor(-1)=0"}},
                    CursorCase{2,
                               {"ShowCursor(0)=1", "ShowCursor(0)=0", "ShowCursor(0)=-1"},
                               2,
                               {"ShowCursor(-1)=0", "ShowCursor(-1)=1", "ShowCursor(-1)=2"}},
                    CursorCase{-3, {"ShowCursor(0)=-4"}, -3, {"ShowCursor(-1)=-3"}}));

TEST(RestoreCursor, WithoutHideShowsUntilTheCountReachesZero)
{
    FakePlatform fake;
    CursorBase = 0;
    fake.cursorCount = -2;
    RestoreCursor(fake);
    EXPECT_EQ(fake.calls, (Calls{"ShowCursor(-1)=-1", "ShowCursor(-1)=0"}));
    fake.calls.clear();
    RestoreCursor(fake); // already at the base: still one request
    EXPECT_EQ(fake.calls, (Calls{"ShowCursor(-1)=1"}));
}

TEST(RestoreCursor, NarrowsTheCountTo16Bits)
{
    // A count of 65535 narrows to -1: below a base of 0, so one more request.
    FakePlatform fake;
    CursorBase = 0;
    fake.cursorCount = 65534;
    RestoreCursor(fake);
    EXPECT_EQ(fake.calls, (Calls{"ShowCursor(-1)=65535", "ShowCursor(-1)=65536"}));
}

TEST(EndSaver, RestoresTheCursorThenEndsWithStatusZero)
{
    FakePlatform fake;
    HideCursor(fake);
    fake.calls.clear();
    EndSaver(fake, nullptr);
    EXPECT_EQ(fake.endStatus, 0);
    EXPECT_EQ(fake.calls, (Calls{"ShowCursor(-1)=0", "endProcess(0)"}));
}

TEST(EndOnRequest, RestoresTheCursorOnlyWhenTheSaverHidIt)
{
    FakePlatform fake;
    RestoreCursor(fake); // nothing hidden from here on
    fake.calls.clear();
    EndOnRequest(fake);
    EXPECT_EQ(fake.endStatus, 0);
    EXPECT_EQ(fake.calls, (Calls{"endProcess(0)"}));

    FakePlatform saver;
    HideCursor(saver);
    saver.calls.clear();
    EndOnRequest(saver);
    EXPECT_EQ(saver.endStatus, 0);
    EXPECT_EQ(saver.calls, (Calls{"ShowCursor(-1)=0", "releaseInput", "endProcess(0)"}));
}
