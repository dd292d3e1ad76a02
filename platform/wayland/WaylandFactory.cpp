#include "platform/wayland/WaylandFactory.h"
#include "platform/wayland/Session.h"
#include "platform/wayland/WaylandPlatform.h"

#include <QCoreApplication>
#include <QDir>

namespace platform::wayland {

namespace {

/** True when Qt's Wayland platform plugin is installed (qt6-wayland): Qt
 *  tries it first where WAYLAND_DISPLAY is set, and xcb after it. */
bool toolkitHasWaylandPlatform()
{
    const QStringList plugins{QStringLiteral("libqwayland-*.so")};
    for (const QString& folder : QCoreApplication::libraryPaths())
        if (!QDir(folder + QStringLiteral("/platforms")).entryList(plugins, QDir::Files).isEmpty())
            return true;
    return false;
}

} // namespace

PlatformOrError createWaylandPlatform(DisplayUse use, const ToolkitStarter& startToolkit)
{
    // Without it, the toolkit's windows can only go to an X display
    // (Xwayland), where Qt would abort without one.
    if (use == DisplayUse::ToolkitWindows && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")
        && !toolkitHasWaylandPlatform())
        return {nullptr, "Qt's Wayland platform is not installed (qt6-wayland)"};
    QString error;
    std::unique_ptr<Session> session = Session::open(error);
    if (!session)
        return {nullptr, "cannot use the Wayland display \"" + qgetenv("WAYLAND_DISPLAY").toStdString()
                             + "\" (" + error.toStdString() + ")"};
    if (use == DisplayUse::OwnWindow && !session->hasWindows())
        return {nullptr, "the Wayland compositor offers no windows (xdg-shell)"};
    // The saver's window, and the program's own, are the toolkit's only for
    // their events: what shows is the session's surfaces.
    if (use != DisplayUse::ToolkitWindows)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return {std::make_unique<WaylandPlatform>(startToolkit(), std::move(session), use), {}};
}

} // namespace platform::wayland
