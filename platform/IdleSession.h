#pragma once
// One lilywade-idle per session.

namespace platform {

/** Claims this user's display session (the Wayland socket, else the X
 *  display) for the life of the process; false if another process holds it. */
bool claimIdleSession();

} // namespace platform
