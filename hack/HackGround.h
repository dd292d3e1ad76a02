#pragma once
// What the hack's frogs hop on: the copy of the screen the host left on its
// window, or black. The hack never copies the screen itself: the host's window
// covers it already.

#include "platform/Platform.h"

#include <QImage>
#include <string>

/** The host's copy of the screen fitted to size (1:1 when it has that size,
 *  stretched otherwise), or black when blank or when the host left none. */
QImage hackGround(platform::Platform& platform, platform::WindowId host, QSize size, bool blank);

/** False when the XScreenSaver settings in home (.xscreensaver) forbid showing
 *  the desktop ("grabDesktopImages: False"). */
bool desktopImagesAllowed(const std::string& home);
