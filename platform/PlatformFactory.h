#pragma once
// The one way the program gets its real platform.

#include "platform/Platform.h"

#include <QGuiApplication>
#include <functional>
#include <memory>
#include <string>

namespace platform {

/** The real platform, or why there is none. */
struct PlatformOrError {
    std::unique_ptr<Platform> platform; // null when there is an error
    std::string error;                  // one sentence for the user
};

/** Makes the application object (a QApplication where widgets are needed). */
using ToolkitStarter = std::function<std::unique_ptr<QGuiApplication>()>;

/** What the program does with the display, which decides the platform under it. */
enum class DisplayUse {
    /** Covers every screen itself (the saver): natively on a Wayland compositor, else on X11. */
    SaverScreen,
    /** Only the toolkit's own windows (the settings dialog), on whatever display the toolkit picks. */
    ToolkitWindows,
    /** Draws into an X11 window another program names (the preview, the hack): always X11. */
    X11Window,
    /** Draws into a window of its own (the hack, to try it): natively on a Wayland compositor, else on X11. */
    OwnWindow,
};

/**
 * Picks the display for use, starts the toolkit on it with startToolkit, and
 * returns the platform over it, which keeps the application object for its
 * own life. An X11 platform always runs over the toolkit's X11 platform (or
 * its offscreen one, in tests), also inside a Wayland session. Without a
 * display the toolkit would abort the process; this returns an error instead.
 */
PlatformOrError createPlatform(DisplayUse use, const ToolkitStarter& startToolkit);

} // namespace platform
