#include "platform/x11/XConnection.h"
#include "platform/x11/XReply.h"

#include <QGuiApplication>
#include <cstring>

namespace platform::x11 {

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

xcb_atom_t internAtom(xcb_connection_t* c, const char* name, bool onlyIfExists)
{
    auto r = replyOf(c, xcb_intern_atom(c, onlyIfExists, std::strlen(name), name),
                     xcb_intern_atom_reply);
    return r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
}

void flushX()
{
    if (xcb_connection_t* connection = xcbConnection())
        replyOf(connection, xcb_get_input_focus(connection), xcb_get_input_focus_reply);
}

} // namespace platform::x11
