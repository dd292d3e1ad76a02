#pragma once
// Qt's own X connection, for the few calls that Qt has no API for.

#include <xcb/xcb.h>

namespace platform::x11 {

/** Qt's xcb connection, or null when Qt does not run on xcb. */
xcb_connection_t* xcbConnection();
/** The root window of the default screen, or 0. */
xcb_window_t rootWindow();
/** The atom of name; with onlyIfExists, none when no client has made it yet. */
xcb_atom_t internAtom(xcb_connection_t* c, const char* name, bool onlyIfExists = true);
/** Sends every pending request to the X server and waits until it has handled them. */
void flushX();

} // namespace platform::x11
