#pragma once
// The desktop snapshot: the whole screen, pixel for pixel, into the saver
// window's persistent image.

#include "platform/Platform.h"

#include <QImage>

/** Copies the screen to (0, 0) of image, cut at its right and bottom edges.
 *  When the screen cannot be read the image is left as it was. */
void SnapDesktop(platform::Platform& platform, QImage& image);
