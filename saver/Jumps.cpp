#include "saver/Jumps.h"

#include "startup/Globals.h"

namespace {

constexpr int FrameStep = 10; // pixels between two frames of a move
constexpr int LeapFrames = 6;

// A move lands in the sitting pose of its heading, four frames before the leap.
constexpr int sittingFor(int leapFrame) { return leapFrame - 4; }

} // namespace

/** What differs between a horizontal and a vertical jump. */
struct Jumps::Axis {
    float FrogState::*moving;
    float FrogState::*fixed;
    int leapTowardSmaller; // leap frame; the landing frame is four less
    int leapTowardLarger;
    bool horizontal;
};

Jumps::Jumps(platform::Platform& platform, FrogDrawing& drawing)
    : platform_(platform), drawing_(drawing)
{
}

std::string Jumps::soundFile(FrogKind kind)
{
    return kind == FrogKind::Green ? "/bud.wav" : "/wizer.wav";
}

void Jumps::JumpHorizontal(FrogState& frog, const float& target)
{
    static const Axis horizontal{&FrogState::X, &FrogState::Y, 8, 6, true};
    jump(frog, target, horizontal);
}

void Jumps::JumpVertical(FrogState& frog, const float& target)
{
    static const Axis vertical{&FrogState::Y, &FrogState::X, 5, 7, false};
    jump(frog, target, vertical);
}

void Jumps::jump(FrogState& frog, const float& target, const Axis& axis)
{
    // The sound plays to its end before the frog moves: a jump is heard first.
    if (SaverSettings.Sound)
        platform_.sndPlaySoundA(platform_.programFolder() + soundFile(frog.kind), 0);
    // A frog that overshoots a near target on the way toward smaller values
    // comes straight back; one that overshoots toward larger values stays.
    if (target < frog.*axis.moving)
        move(frog, axis, -1);
    if (target > frog.*axis.moving)
        move(frog, axis, +1);
}

void Jumps::move(FrogState& frog, const Axis& axis, int direction)
{
    const int leap = direction < 0 ? axis.leapTowardSmaller : axis.leapTowardLarger;
    const float start = frog.*axis.moving;
    const int last = toInt16(start + float(direction * FrameStep * (LeapFrames - 1)));
    int i = toInt16(start);
    for (; direction < 0 ? i >= last : i <= last; i += direction * FrameStep)
        leapFrame(frog, axis, i, leap);
    // The counter has gone one step past the last leap frame: the landing place.
    drawing_.RestoreBackground(frog);
    drawAt(frog, axis, i, sittingFor(leap));
    frog.RestFrame = std::int16_t(sittingFor(leap));
    frog.*axis.moving = float(i);
}

void Jumps::leapFrame(FrogState& frog, const Axis& axis, int i, int k)
{
    platform_.Sleep(std::uint32_t(std::int32_t(SaverSettings.Speed)));
    drawing_.RestoreBackground(frog);
    // Marks go on the real ground at the old place, after the restore, so
    // the next save takes them in and they stay behind.
    if (SaverSettings.Hole && float(i) == frog.*axis.moving)
        drawing_.StampMask(frog.RestFrame, frog.DrawnX, frog.DrawnY);
    if (SaverSettings.Streak)
        drawing_.StampMask(k, frog.DrawnX, frog.DrawnY);
    drawAt(frog, axis, i, k);
}

void Jumps::drawAt(FrogState& frog, const Axis& axis, int i, int k)
{
    const std::int16_t moving = toInt16(float(i));
    const std::int16_t fixed = toInt16(frog.*axis.fixed);
    const std::int16_t x = axis.horizontal ? moving : fixed;
    const std::int16_t y = axis.horizontal ? fixed : moving;
    drawing_.SaveBackground(frog, x, y);
    drawing_.ComposeFrame(frog, k);
    drawing_.PresentFrame(frog, x, y);
}
