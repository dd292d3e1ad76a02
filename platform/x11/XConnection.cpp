#include "platform/x11/XConnection.h"
#include "platform/x11/X11Platform.h"

#include <QGuiApplication>
#include <memory>

namespace platform {

bool displayAvailable()
{
    // A bare xcb connection: it costs a fraction of an Xlib display, which
    // would also set up extensions that nothing here uses.
    const std::unique_ptr<xcb_connection_t, void (*)(xcb_connection_t*)> connection(
        xcb_connect(nullptr, nullptr), xcb_disconnect);
    return xcb_connection_has_error(connection.get()) == 0;
}

xcb_connection_t* xcbConnection()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_window_t rootWindow()
{
    xcb_connection_t* connection = xcbConnection();
    if (!connection)
        return 0;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    return screen ? screen->root : 0;
}

void flushX()
{
    if (xcb_connection_t* connection = xcbConnection())
        free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

} // namespace platform
