#pragma once
// The desktop snapshot: the whole screen, pixel for pixel, into the saver
// window's persistent image.

#include "platform/Platform.h"

#include <QImage>

/** Copies the screen to (0, 0) of image, cut at its right and bottom edges;
 *  every other pixel, all of them when the screen cannot be read, turns black. */
void SnapDesktop(platform::Platform& platform, QImage& image);
