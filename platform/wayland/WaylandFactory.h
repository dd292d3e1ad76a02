#pragma once
// The platform over the Wayland compositor of WAYLAND_DISPLAY.

#include "platform/PlatformStart.h"

namespace platform::wayland {

/** Opens a session on the compositor, starts the toolkit (on its offscreen
 *  platform for the saver and the program's own window, which show everything
 *  through the session; on its own choice for the toolkit's windows) and
 *  returns the Wayland platform over both; an error, with the toolkit not
 *  started, without a usable compositor. */
PlatformOrError createWaylandPlatform(DisplayUse use, const ToolkitStarter& startToolkit);

} // namespace platform::wayland
