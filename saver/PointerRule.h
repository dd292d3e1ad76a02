#pragma once
// When a mouse move ends the saver: only a real move, of more than 3 pixels
// since the previous move event, and never the first event.

#include <cstdint>

class PointerRule {
public:
    /** Records (x, y) as the last position; true when the move from the
     *  previous one ends the saver. */
    bool moveEnds(float x, float y);

    std::int16_t LastMouseX = 0;
    std::int16_t LastMouseY = 0;
};
