#include "saver/PointerRule.h"

#include "saver/FrogState.h"

#include <cmath>

bool PointerRule::moveEnds(float x, float y)
{
    // A recorded position of 0 on either axis means "nothing recorded yet"
    // (or the pointer at the left column or top row): only record it.
    const bool known = LastMouseX > 0 && LastMouseY > 0;
    const bool moved = std::fabs(x - float(LastMouseX)) > 3.0f
        || std::fabs(y - float(LastMouseY)) > 3.0f;
    LastMouseX = toInt16(x);
    LastMouseY = toInt16(y);
    return known && moved;
}
