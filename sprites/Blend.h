#pragma once
// The two block operations of a smoothly reduced frog: masks with grey edges
// darken the ground in proportion, and frames add their darkened edges onto
// what the mask let through. With a mask of only black and white and a frame
// black wherever the mask is white, they give what AND and XOR give.

#include <QImage>

/** Multiplies the block of target at (x, y) by source, channel by channel
 *  (white keeps it, black blacks it out); clipped to target. */
void multiplyBlock(QImage& target, int x, int y, const QImage& source);

/** Adds source onto the block of target at (x, y), each channel held at 255;
 *  clipped to target. */
void addBlock(QImage& target, int x, int y, const QImage& source);
