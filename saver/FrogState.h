#pragma once
// The state of one frog on the saver window.

#include "sprites/FrogDrawing.h"

#include <cmath>
#include <cstdint>
#include <limits>

/** One frog: where it is, where it was last drawn (FrogSprite), the sitting
 *  frame it last landed with and the target the scheduler chose for it. */
struct FrogState : FrogSprite {
    float X = 0;         // left edge of its cell; always a whole number
    float Y = 0;         // top edge of its cell
    std::int16_t RestFrame = 0;
    float TargetX = 0;
    float TargetY = 0;
};

/** A coordinate as a 16-bit integer: nearest, halves to even, held within range. */
inline std::int16_t toInt16(float value)
{
    const float held = std::fmax(-32768.0f, std::fmin(32767.0f, std::nearbyint(value)));
    return static_cast<std::int16_t>(std::isnan(held) ? 0.0f : held);
}
