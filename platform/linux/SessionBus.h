#pragma once
// Whether the user's session has a D-Bus session bus running.

namespace platform {

/** True when a session bus runs: an address of one is in the environment, or
 *  the user's runtime folder holds its socket. Otherwise a first call on the
 *  bus would start one (D-Bus autolaunch), which outlives the program. */
bool sessionBusRuns();

} // namespace platform
