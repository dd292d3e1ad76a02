#pragma once
// What a backend is given and gives back when the program starts it. The
// factory (factory/PlatformFactory.h) chooses the backend; the backends
// include only this, so that neither includes the other.

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

} // namespace platform
