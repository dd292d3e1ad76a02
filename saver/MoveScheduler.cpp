#include "saver/MoveScheduler.h"

#include <QCoreApplication>
#include <QWindow>
#include <cmath>

namespace {

constexpr float NearTarget = 60;  // closer than this on both axes: a new target
constexpr float TooClose = 96;    // closer than this on both axes: the frogs touch
constexpr float FleeDistance = 160;
constexpr float TargetWidening = 75;
constexpr float TargetShift = 90;

bool nearItsTarget(const FrogState& frog)
{
    return std::fabs(frog.TargetY - frog.Y) < NearTarget
        && std::fabs(frog.TargetX - frog.X) < NearTarget;
}

// A random place from -90 up to 15 short of the size. Negative values round
// down, like positive ones, so every whole target is equally likely.
float randomCoordinate(float random, int size)
{
    const float v = (float(size) + TargetWidening) * random - TargetShift;
    return std::floor(v);
}

} // namespace

MoveScheduler::MoveScheduler(platform::Platform& platform, QWindow& window, FrogDrawing& drawing,
                             Jumps& jumps, FrogState& greenFrog, FrogState& redFrog)
    : platform_(platform), window_(window), drawing_(drawing), jumps_(jumps), GreenFrog(greenFrog),
      RedFrog(redFrog)
{
    // A tick that comes due while MoveTick is still drawing is not queued:
    // QTimer delivers one tick when the event loop next looks.
    Timer1.setInterval(100);
    Timer2.setInterval(1);
    Timer2.setSingleShot(true);
    connect(&Timer1, &QTimer::timeout, this, &MoveScheduler::Timer1Tick);
    connect(&Timer2, &QTimer::timeout, this, &MoveScheduler::StartTick);
    Timer2.start();
}

void MoveScheduler::StartTick()
{
    platform_.bringToTop(window_);
    Timer2.stop();
    drawing_.SaveBackground(GreenFrog, toInt16(GreenFrog.X), toInt16(GreenFrog.Y));
    drawing_.SaveBackground(RedFrog, toInt16(RedFrog.X), toInt16(RedFrog.Y));
    Timer1.start();
}

void MoveScheduler::Timer1Tick()
{
    // A tick comes due only when no input is waiting: input that arrived
    // while the last tick ran is handled first, so the saver ends at the end
    // of that tick rather than after one more.
    QCoreApplication::processEvents(QEventLoop::X11ExcludeTimers);
    MoveTick();
}

void MoveScheduler::MoveTick()
{
    bool fled = false;
    if (nearItsTarget(GreenFrog))
        newTarget(GreenFrog);
    tooCloseTest(fled);
    jumpTowardTarget(GreenFrog);
    if (fled)
        return;
    if (nearItsTarget(RedFrog))
        newTarget(RedFrog);
    // The green frog may have landed next to the red one: it flees at once
    // with a second jump, and the red frog waits for the next tick.
    tooCloseTest(fled);
    if (fled) {
        jumpTowardTarget(GreenFrog);
        return;
    }
    jumpTowardTarget(RedFrog);
}

void MoveScheduler::newTarget(FrogState& frog)
{
    // Targets are in frog pixels, over the window's size in frog pixels.
    const QSize world = drawing_.inFrogPixels(window_.size());
    const float r = platform_.rtcRandomNext();
    frog.TargetX = randomCoordinate(r, world.width());
    const float s = platform_.rtcRandomNext();
    frog.TargetY = randomCoordinate(s, world.height());
}

void MoveScheduler::tooCloseTest(bool& fled)
{
    if (!(std::fabs(GreenFrog.X - RedFrog.X) < TooClose
          && std::fabs(GreenFrog.Y - RedFrog.Y) < TooClose))
        return;
    // The green frog makes for the far side of the red one, on both axes.
    if (RedFrog.Y < GreenFrog.Y)
        GreenFrog.TargetY = RedFrog.Y + FleeDistance;
    if (RedFrog.X < GreenFrog.X)
        GreenFrog.TargetX = RedFrog.X + FleeDistance;
    if (RedFrog.Y > GreenFrog.Y)
        GreenFrog.TargetY = RedFrog.Y - FleeDistance;
    if (RedFrog.X > GreenFrog.X)
        GreenFrog.TargetX = RedFrog.X - FleeDistance;
    fled = true;
}

void MoveScheduler::jumpTowardTarget(FrogState& frog)
{
    // The farther axis wins; equal distances go sideways.
    if (std::fabs(frog.TargetY - frog.Y) > std::fabs(frog.TargetX - frog.X))
        jumps_.JumpVertical(frog, frog.TargetY);
    else
        jumps_.JumpHorizontal(frog, frog.TargetX);
}
