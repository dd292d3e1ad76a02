#pragma once
// The one way the program gets its real platform.

#include "platform/PlatformStart.h"

namespace platform {

/**
 * Picks the display for use, starts the toolkit on it with startToolkit, and
 * returns the platform over it, which keeps the application object for its
 * own life. An X11 platform always runs over the toolkit's X11 platform (or
 * its offscreen one, in tests), also inside a Wayland session. Without a
 * display the toolkit would abort the process; this returns an error instead.
 */
PlatformOrError createPlatform(DisplayUse use, const ToolkitStarter& startToolkit);

} // namespace platform
