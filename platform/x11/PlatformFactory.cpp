#include "platform/PlatformFactory.h"
#include "platform/x11/X11Platform.h"

#include <xcb/xcb.h>

namespace platform {

namespace {

/** Empty when an X display can be opened; else why not. */
std::string displayError()
{
    // A bare xcb connection: it costs a fraction of an Xlib display, which
    // would also set up extensions that nothing here uses.
    const std::unique_ptr<xcb_connection_t, void (*)(xcb_connection_t*)> connection(
        xcb_connect(nullptr, nullptr), xcb_disconnect);
    if (xcb_connection_has_error(connection.get()) == 0)
        return {};
    const QByteArray display = qgetenv("DISPLAY");
    if (display.isEmpty())
        return "no X display (DISPLAY is not set); run it inside an X11 session.";
    return "cannot open the X display \"" + display.toStdString() + "\".";
}

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

} // namespace

PlatformOrError createPlatform(const ToolkitStarter& startToolkit)
{
    // Another toolkit platform (offscreen, in tests) needs no X display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        if (std::string error = displayError(); !error.empty())
            return {nullptr, std::move(error)};
    // The program copies the screen pixel for pixel and draws in screen
    // pixels: no scaling by the toolkit.
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        toolkitMessages = qInstallMessageHandler(withoutRuntimeFolderNote);
    return {std::make_unique<X11Platform>(startToolkit()), {}};
}

} // namespace platform
