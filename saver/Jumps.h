#pragma once
// The jumps: one frog moves 60 pixels along one axis toward its target, in
// six leap frames 10 pixels apart and a landing frame, paced by blocking
// sleeps, with the frog's sound first and the marks the user asked for.

#include "platform/Platform.h"
#include "saver/FrogState.h"
#include "sprites/FrogDrawing.h"

#include <string>

class Jumps {
public:
    Jumps(platform::Platform& platform, FrogDrawing& drawing);

    /** Moves the frog left or right toward the target column; when it
     *  overshoots on the left it jumps back right in the same call. */
    void JumpHorizontal(FrogState& frog, const float& target);
    /** The same along the rows: up toward smaller Y, down toward larger. */
    void JumpVertical(FrogState& frog, const float& target);

    /** The sound file of a frog, relative to the program's folder. */
    static std::string soundFile(FrogKind kind);

private:
    struct Axis;
    void jump(FrogState& frog, const float& target, const Axis& axis);
    void move(FrogState& frog, const Axis& axis, int direction);
    void leapFrame(FrogState& frog, const Axis& axis, int i, int k);
    void drawAt(FrogState& frog, const Axis& axis, int i, int k);

    platform::Platform& platform_;
    FrogDrawing& drawing_;
};
