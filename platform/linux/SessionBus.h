#pragma once
// Whether the user's session bus runs, asked without starting one.

namespace platform {

/** True when the session bus runs: DBUS_SESSION_BUS_ADDRESS names it, or
 *  $XDG_RUNTIME_DIR/bus (the per-user bus of systemd and dbus-broker) exists.
 *  Without either, connecting would make libdbus start a bus of its own
 *  (autolaunch) that outlives the program, so callers leave the bus alone. */
bool sessionBusRuns();

} // namespace platform
