// The choice of the display: Wayland natively where the program covers the
// screens itself, shows only the toolkit's windows or a window of its own;
// X11 where it draws into an X11 window of another program's, or where there
// is no Wayland compositor.
#include "platform/factory/PlatformFactory.h"
#include "platform/linux/SessionBus.h"
#include "platform/wayland/WaylandFactory.h"
#include "platform/x11/X11Factory.h"

namespace platform {

namespace {

QtMessageHandler toolkitMessages = nullptr;

/** Qt's messages, less its note that it chose a runtime folder itself: hosts
 *  such as MATE's run their hacks without XDG_RUNTIME_DIR, and the note would
 *  go into the host's log at every start. */
void withoutRuntimeFolderNote(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
        return;
    toolkitMessages(type, context, message);
}

/** What every toolkit platform needs before it starts. */
void prepareToolkit()
{
    // The program copies the screen pixel for pixel and draws in screen
    // pixels: no scaling by the toolkit.
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    // The toolkit calls on the session bus (its accessibility bridge, as the
    // event loop starts). Where none runs, the D-Bus library would autolaunch
    // a daemon that outlives the program; an address of no transport fails at
    // once instead, and quietly. A bus that runs stays in use.
    if (!sessionBusRuns())
        qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && !toolkitMessages)
        toolkitMessages = qInstallMessageHandler(withoutRuntimeFolderNote);
}

} // namespace

PlatformOrError createPlatform(DisplayUse use, const ToolkitStarter& startToolkit)
{
    prepareToolkit();
    std::string waylandError;
    if (use != DisplayUse::X11Window && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        PlatformOrError made = wayland::createWaylandPlatform(use, startToolkit);
        if (made.platform)
            return made;
        waylandError = std::move(made.error);
    }
    PlatformOrError made = x11::createX11Platform(startToolkit);
    if (!made.platform && !waylandError.empty())
        made.error = waylandError + "; and " + made.error;
    return made;
}

} // namespace platform
