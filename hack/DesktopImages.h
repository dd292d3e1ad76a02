#pragma once
// Whether XScreenSaver's settings let a hack show the desktop: its
// "grabDesktopImages", read from the places XScreenSaver reads it from, in
// the same order.

#include "platform/Platform.h"

#include <optional>
#include <string>
#include <string_view>

/** The texts the setting comes from, the first that names it deciding. */
struct DesktopImageSources {
    std::string userSettings; // ~/.xscreensaver, as XScreenSaver's settings application writes it
    std::string resources;    // the X resource database (xrdb)
    std::string appDefaults;  // the system's app-defaults file of the class XScreenSaver
};

/** What the first source naming grabDesktopImages says; XScreenSaver's own
 *  default, true, when none does. */
bool desktopImagesAllowed(const DesktopImageSources& sources);

/** A boolean resource as XScreenSaver takes it: true, on or yes, in any case,
 *  with blanks around; anything else is false. */
bool resourceIsTrue(std::string_view value);

/** The app-defaults file of the class XScreenSaver: the first file that exists
 *  along searchPath (XFILESEARCHPATH's form; empty for the system's usual
 *  folders). */
std::string appDefaultsFile(std::string_view searchPath);

/** The sources of this user (home) on this display. */
DesktopImageSources desktopImageSources(platform::Platform& platform, const std::string& home);
