#include "platform/x11/X11Factory.h"
#include "platform/x11/X11Platform.h"

#include <xcb/xcb.h>

namespace platform::x11 {

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

} // namespace

PlatformOrError createX11Platform(const ToolkitStarter& startToolkit)
{
    // Every call of the X11 platform goes through the toolkit's X
    // connection: on its Wayland platform (its choice in a Wayland session,
    // Xwayland or not) there is none. The offscreen platform of the tests
    // needs no X display.
    if (!qgetenv("QT_QPA_PLATFORM").startsWith("offscreen")) {
        qputenv("QT_QPA_PLATFORM", "xcb");
        if (std::string error = displayError(); !error.empty())
            return {nullptr, std::move(error)};
    }
    return {std::make_unique<X11Platform>(startToolkit()), {}};
}

} // namespace platform::x11
