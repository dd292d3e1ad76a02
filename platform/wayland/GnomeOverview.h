#pragma once
// GNOME Shell's Activities overview. While it is open, a new window shows
// only as a thumbnail in it and gets no keyboard: a saver that starts then (a
// user pressed the Super key and walked away) would leave the desktop
// uncovered. GNOME Shell closes the overview, as its Esc key does, when a
// program on the session bus sets its OverviewActive property to false. (An
// activation token of the saver's own, xdg-activation, does not: Mutter 43
// neither activates a window with it nor marks one that is in full view.)

namespace platform::wayland {

/** Asks GNOME Shell, where it runs, to close its overview; returns at once.
 *  Only where the session bus runs (sessionBusRuns), or connecting starts one;
 *  nothing happens without GNOME Shell on it. */
void leaveGnomeOverview();

} // namespace platform::wayland
