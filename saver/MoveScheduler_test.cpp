// Targets, flight and the choice of jump, tick by tick.
#include "saver/MoveScheduler.h"
#include "tests/support/SceneTest.h"

namespace {

class Scheduler : public SaverScene {
protected:
    Scheduler() { window.resize(800, 600); }

    // Load values and the start tick.
    void start(float greenX, float greenY, float redX, float redY)
    {
        GreenFrog = frog(FrogKind::Green, greenX, greenY);
        RedFrog = frog(FrogKind::Red, redX, redY);
        scheduler.StartTick();
        platform.calls.clear();
        platform.shown.clear();
    }
    int moves() const { return int(platform.callsStartingWith("refresh").size()) / 7; }

    FrogState GreenFrog, RedFrog;
    MoveScheduler scheduler{platform, window, drawing, jumps, GreenFrog, RedFrog};
};

TEST_F(Scheduler, StartTickRaisesSavesAndHandsOverToTimer1)
{
    EXPECT_TRUE(scheduler.Timer2.isActive());
    EXPECT_FALSE(scheduler.Timer1.isActive());
    start(175, 175, 326, 326);
    EXPECT_FALSE(scheduler.Timer2.isActive());
    EXPECT_TRUE(scheduler.Timer1.isActive());
    EXPECT_EQ(scheduler.Timer1.interval(), 100);
    EXPECT_EQ(drawing.PicFrogTemp, ground.copy(175, 175, CellSize, CellSize));
    EXPECT_EQ(drawing.PicRedFrogTemp, ground.copy(326, 326, CellSize, CellSize));
    EXPECT_EQ(canvas, ground); // nothing drawn yet
}

TEST_F(Scheduler, StartTickBringsTheWindowToTheTopFirst)
{
    GreenFrog = frog(FrogKind::Green, 175, 175);
    RedFrog = frog(FrogKind::Red, 326, 326);
    scheduler.StartTick();
    EXPECT_EQ(platform.calls, std::vector<std::string>{"bringToTop"});
}

TEST_F(Scheduler, FirstTwoTicksFromTheStartPlaces)
{
    start(175, 175, 326, 326);
    platform.randomNumbers = {0.25f};
    scheduler.MoveTick();
    EXPECT_EQ(std::make_pair(GreenFrog.X, GreenFrog.Y), std::make_pair(115.0f, 175.0f));
    EXPECT_EQ(std::make_pair(RedFrog.X, RedFrog.Y), std::make_pair(266.0f, 326.0f));
    scheduler.MoveTick();
    EXPECT_EQ(std::make_pair(GreenFrog.X, GreenFrog.Y), std::make_pair(115.0f, 115.0f));
    EXPECT_EQ(std::make_pair(RedFrog.X, RedFrog.Y), std::make_pair(266.0f, 266.0f));
    EXPECT_EQ(platform.randomNumbers.size(), 1u); // targets still (0, 0)
    EXPECT_EQ(canvas, frogOn(frogOn(ground, 1, 115, 115), 1, 266, 266, false));
}

TEST_F(Scheduler, GreenFleesToTheFarSideAndRedWaits)
{
    start(175, 175, 146, 86);
    GreenFrog.TargetX = 700;
    GreenFrog.TargetY = 10;
    scheduler.MoveTick();
    EXPECT_EQ(GreenFrog.TargetX, 306.0f);
    EXPECT_EQ(GreenFrog.TargetY, 246.0f);
    EXPECT_EQ(std::make_pair(GreenFrog.X, GreenFrog.Y), std::make_pair(235.0f, 175.0f));
    EXPECT_EQ(std::make_pair(RedFrog.X, RedFrog.Y), std::make_pair(146.0f, 86.0f));
    EXPECT_EQ(moves(), 1);
}

TEST_F(Scheduler, GreenLandingNextToRedFleesWithASecondJump)
{
    SaverSettings.Sound = -1;
    start(175, 175, 326, 266);
    GreenFrog.TargetX = 400;
    GreenFrog.TargetY = 175;
    scheduler.MoveTick();
    // Landed at (235, 175), 91 from the red frog on both axes: the target
    // moves to (166, 106), equally far on both axes, so it jumps back left.
    EXPECT_EQ(GreenFrog.TargetX, 166.0f);
    EXPECT_EQ(GreenFrog.TargetY, 106.0f);
    EXPECT_EQ(std::make_pair(GreenFrog.X, GreenFrog.Y), std::make_pair(175.0f, 175.0f));
    EXPECT_EQ(std::make_pair(RedFrog.X, RedFrog.Y), std::make_pair(326.0f, 266.0f));
    EXPECT_EQ(platform.callsStartingWith("sndPlaySoundA"),
              (std::vector<std::string>{"sndPlaySoundA(/opt/lilywade/bud.wav,0)",
                                        "sndPlaySoundA(/opt/lilywade/bud.wav,0)"}));
}

TEST_F(Scheduler, TwoFrogsTwoSounds)
{
    SaverSettings.Sound = -1;
    start(175, 175, 326, 326);
    scheduler.MoveTick();
    EXPECT_EQ(platform.callsStartingWith("sndPlaySoundA"),
              (std::vector<std::string>{"sndPlaySoundA(/opt/lilywade/bud.wav,0)",
                                        "sndPlaySoundA(/opt/lilywade/wizer.wav,0)"}));
}

struct Distance {
    float dx, dy; // red frog's offset from the green one
    bool tooClose;
    float targetX = 300, targetY = 500; // green frog's target after the tick
};

class TooClose : public Scheduler, public testing::WithParamInterface<Distance> {};

// Too close, the green frog aims 160 past the red one along each axis on
// which they differ; along an axis they share it keeps its target.
TEST_P(TooClose, IsStrictlyLessThan96OnBothAxes)
{
    const Distance d = GetParam();
    start(300, 300, 300 + d.dx, 300 + d.dy);
    GreenFrog.TargetX = 300; // keep the green frog's jump predictable
    GreenFrog.TargetY = 500;
    RedFrog.TargetX = 0;
    RedFrog.TargetY = 0;
    scheduler.MoveTick();
    EXPECT_EQ(moves(), d.tooClose ? 1 : 2);
    EXPECT_EQ(GreenFrog.TargetX, d.targetX);
    EXPECT_EQ(GreenFrog.TargetY, d.targetY);
}

INSTANTIATE_TEST_SUITE_P(Boundaries, TooClose,
                         testing::Values(Distance{95, 95, true, 235, 235},
                                         Distance{-95, -95, true, 365, 365},
                                         Distance{50, 0, true, 190, 500},
                                         Distance{96, 10, false}, Distance{10, -96, false},
                                         Distance{-96, -96, false}));

TEST_F(Scheduler, EqualDistancesJumpSideways)
{
    start(175, 175, 500, 400);
    GreenFrog.TargetX = 235; // 60 away on both axes: kept, and a tie
    GreenFrog.TargetY = 235;
    RedFrog.TargetX = 500;
    RedFrog.TargetY = 400;
    platform.randomNumbers = {0.5f, 0.5f};
    scheduler.MoveTick();
    EXPECT_EQ(std::make_pair(GreenFrog.X, GreenFrog.Y), std::make_pair(235.0f, 175.0f));
    EXPECT_EQ(std::make_pair(GreenFrog.TargetX, GreenFrog.TargetY), std::make_pair(235.0f, 235.0f));
    // The red frog sat on its target: it drew the new one from both numbers.
    EXPECT_TRUE(platform.randomNumbers.empty());
}

struct TargetCase {
    float offsetX, offsetY; // old target from the frog
    std::vector<float> random;
    float targetX, targetY; // target after the tick's test
};

class NewTarget : public Scheduler, public testing::WithParamInterface<TargetCase> {};

TEST_P(NewTarget, OnlyWithin59PixelsOnBothAxes)
{
    const TargetCase c = GetParam();
    start(175, 175, 600, 500);
    GreenFrog.TargetX = 175 + c.offsetX;
    GreenFrog.TargetY = 175 + c.offsetY;
    platform.randomNumbers.assign(c.random.begin(), c.random.end());
    scheduler.MoveTick();
    EXPECT_EQ(GreenFrog.TargetX, c.targetX);
    EXPECT_EQ(GreenFrog.TargetY, c.targetY);
}

// In an 800 x 600 window targets are floor((875 * r) - 90) and floor((675 * r) - 90);
// negative values round down too.
INSTANTIATE_TEST_SUITE_P(
    Distances, NewTarget,
    testing::Values(TargetCase{59, -59, {0.5f, 0.25f}, 347, 78},
                    TargetCase{0, 0, {0.05f, 0.0f}, -47, -90},
                    TargetCase{60, 0, {0.5f, 0.5f}, 235, 175},
                    TargetCase{0, -60, {0.5f, 0.5f}, 175, 115},
                    TargetCase{-59.5f, 30, {0.9999999f, 0.99f}, 784, 578}));

} // namespace
