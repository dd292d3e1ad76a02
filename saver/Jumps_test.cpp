// The jumps frame by frame: places, frames, pauses, sound and marks.
#include "tests/support/SceneTest.h"

namespace {

using Calls = std::vector<std::string>;
using testsprites::withHole;

class Jump : public SaverScene {
protected:
    // Every picture shown must be the ground with just the frog in the
    // expected frame and place.
    struct Frame {
        int k, x, y;
    };
    void expectFrames(const std::vector<Frame>& frames, bool green = true)
    {
        ASSERT_EQ(platform.shown.size(), frames.size());
        for (std::size_t i = 0; i < frames.size(); ++i)
            EXPECT_EQ(platform.shown[i], frogOn(ground, frames[i].k, frames[i].x, frames[i].y, green))
                << "frame " << i << " should be " << frames[i].k << " at " << frames[i].x << ","
                << frames[i].y;
    }
    static void addMove(std::vector<Frame>& frames, int leap, int x, int y, int dx, int dy)
    {
        for (int n = 0; n < 6; ++n)
            frames.push_back({leap, x + n * dx, y + n * dy});
        frames.push_back({leap - 4, x + 6 * dx, y + 6 * dy});
    }
};

TEST_F(Jump, LeftFromTheStartPlace)
{
    FrogState green = frog(FrogKind::Green, 175, 175);
    jumps.JumpHorizontal(green, 0.0f);
    std::vector<Frame> frames;
    addMove(frames, 8, 175, 175, -10, 0);
    expectFrames(frames);
    EXPECT_EQ(green.X, 115.0f);
    EXPECT_EQ(green.Y, 175.0f);
    EXPECT_EQ(green.DrawnX, 115);
    EXPECT_EQ(green.DrawnY, 175);
    EXPECT_EQ(green.RestFrame, 4);
    // A pause before each leap frame, none before the landing; each refresh
    // covers the old and the new cell.
    Calls expected{"Sleep(0)", "refresh(175,175,95,95)"};
    for (int x = 165; x >= 125; x -= 10)
        expected.insert(expected.end(),
                        {"Sleep(0)", "refresh(" + std::to_string(x) + ",175,105,95)"});
    expected.push_back("refresh(115,175,105,95)");
    EXPECT_EQ(platform.calls, expected);
}

TEST_F(Jump, NearTargetOnTheLeftGoesThereAndBackWithOneSound)
{
    SaverSettings.Sound = -1;
    SaverSettings.Speed = 200;
    FrogState green = frog(FrogKind::Green, 175, 175);
    jumps.JumpHorizontal(green, 145.0f);
    std::vector<Frame> frames;
    addMove(frames, 8, 175, 175, -10, 0);
    addMove(frames, 6, 115, 175, 10, 0);
    expectFrames(frames);
    EXPECT_EQ(green.X, 175.0f);
    EXPECT_EQ(green.RestFrame, 2);
    ASSERT_FALSE(platform.calls.empty());
    EXPECT_EQ(platform.calls.front(), "sndPlaySoundA(/opt/lilywade/bud.wav,0)");
    EXPECT_EQ(platform.callsStartingWith("sndPlaySoundA").size(), 1u);
    EXPECT_EQ(platform.callsStartingWith("Sleep(200)").size(), 12u);
}

TEST_F(Jump, NearTargetOnTheRightIsOvershotAndLeft)
{
    FrogState green = frog(FrogKind::Green, 175, 175);
    jumps.JumpHorizontal(green, 205.0f);
    std::vector<Frame> frames;
    addMove(frames, 6, 175, 175, 10, 0);
    expectFrames(frames);
    EXPECT_EQ(green.X, 235.0f);
    EXPECT_EQ(green.RestFrame, 2);
}

TEST_F(Jump, TargetOnTheFrogDrawsNothingButStillSounds)
{
    FrogState red = frog(FrogKind::Red, 326, 326);
    jumps.JumpVertical(red, 326.0f);
    EXPECT_TRUE(platform.calls.empty());
    SaverSettings.Sound = 1; // any non-zero value is on
    jumps.JumpHorizontal(red, 326.0f);
    EXPECT_EQ(platform.calls, Calls{"sndPlaySoundA(/opt/lilywade/wizer.wav,0)"});
    EXPECT_EQ(canvas, ground);
}

TEST_F(Jump, VerticalUpAndDownUseTheirFramesAndTheRedFrogsPictures)
{
    FrogState red = frog(FrogKind::Red, 326, 326);
    jumps.JumpVertical(red, 0.0f);
    jumps.JumpVertical(red, 470.0f);
    std::vector<Frame> frames;
    addMove(frames, 5, 326, 326, 0, -10);
    addMove(frames, 7, 326, 266, 0, 10);
    expectFrames(frames, false);
    EXPECT_EQ(red.Y, 326.0f);
    EXPECT_EQ(red.X, 326.0f);
    EXPECT_EQ(red.RestFrame, 3);
}

TEST_F(Jump, SoundComesBeforeTheFirstPauseOfEveryJump)
{
    SaverSettings.Sound = -1;
    SaverSettings.Speed = 50;
    FrogState green = frog(FrogKind::Green, 175, 175);
    jumps.JumpHorizontal(green, 0.0f);
    jumps.JumpVertical(green, 0.0f);
    const Calls& calls = platform.calls;
    ASSERT_EQ(calls.size(), 2u * (1 + 6 * 2 + 1));
    for (std::size_t jump : {0u, 14u}) {
        EXPECT_EQ(calls[jump], "sndPlaySoundA(/opt/lilywade/bud.wav,0)");
        for (std::size_t frame = 0; frame < 6; ++frame)
            EXPECT_EQ(calls[jump + 1 + 2 * frame], "Sleep(50)");
        EXPECT_EQ(calls[jump + 13].rfind("refresh(", 0), 0u);
    }
}

TEST_F(Jump, HoleLeavesTheSittingSilhouetteAtTheOldPlace)
{
    SaverSettings.Hole = -1;
    FrogState green = frog(FrogKind::Green, 175, 175);
    jumps.JumpHorizontal(green, 0.0f);
    const QImage afterFirst = withHole(ground, 1, 175, 175);
    EXPECT_EQ(canvas, frogOn(afterFirst, 4, 115, 175));
    // The next hole has the shape the frog landed with.
    jumps.JumpVertical(green, 0.0f);
    EXPECT_EQ(canvas, frogOn(withHole(afterFirst, 4, 115, 175), 1, 115, 115));
}

TEST_F(Jump, StreakMarksTheFirstFiveLeapPlaces)
{
    SaverSettings.Streak = -1;
    FrogState green = frog(FrogKind::Green, 175, 175);
    jumps.JumpHorizontal(green, 0.0f);
    QImage marked = ground;
    for (int x = 175; x >= 135; x -= 10)
        marked = withHole(marked, 8, x, 175);
    EXPECT_EQ(canvas, frogOn(marked, 4, 115, 175));
}

TEST_F(Jump, HoleAndStreakTogether)
{
    SaverSettings.Hole = -1;
    SaverSettings.Streak = -1;
    FrogState red = frog(FrogKind::Red, 326, 326);
    jumps.JumpVertical(red, 400.0f);
    QImage marked = withHole(ground, 1, 326, 326);
    for (int y = 326; y <= 366; y += 10)
        marked = withHole(marked, 7, 326, y);
    EXPECT_EQ(canvas, frogOn(marked, 3, 326, 386, false));
}

TEST_F(Jump, OffTheTopLeftAndBack)
{
    // Targets near -90 take the cell off the canvas; it comes back whole.
    FrogState green = frog(FrogKind::Green, -65, 10);
    jumps.JumpHorizontal(green, -90.0f);
    EXPECT_EQ(green.X, -65.0f);
    EXPECT_EQ(green.RestFrame, 2);
    EXPECT_EQ(canvas, frogOn(ground, 2, -65, 10));
    EXPECT_EQ(platform.callsStartingWith("refresh(").size(), 14u);
}

} // namespace
