#pragma once
// Reading the whole screen (the root window with everything on it) from the
// X server into an image.

#include <QImage>

namespace platform {

/**
 * A 1:1 copy of the root window in QImage::Format_RGB32 with alpha 0xff, read
 * through shared memory when the server allows it, else over the socket, else
 * through Qt. Null when the screen cannot be read.
 */
QImage grabRootWindow();

enum class GrabMethod { SharedMemory, Socket, Qt };
/** The copy by one method only; null when that method cannot read the screen. */
QImage grabRootWindow(GrabMethod method);

} // namespace platform
