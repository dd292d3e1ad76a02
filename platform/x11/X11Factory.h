#pragma once
// The platform over an X display.

#include "platform/PlatformStart.h"

namespace platform::x11 {

/** Checks that an X display can be opened, starts the toolkit on its X11
 *  platform (also where it would pick Wayland; the offscreen one stays, for
 *  tests) and returns the X11 platform over it. */
PlatformOrError createX11Platform(const ToolkitStarter& startToolkit);

} // namespace platform::x11
