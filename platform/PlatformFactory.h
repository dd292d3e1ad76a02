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

/**
 * Checks that an X display can be opened, starts the toolkit on it with
 * startToolkit, and returns the platform over it, which keeps the application
 * object for its own life. Without a display the toolkit would abort the
 * process; this returns an error instead.
 */
PlatformOrError createPlatform(const ToolkitStarter& startToolkit);

} // namespace platform
