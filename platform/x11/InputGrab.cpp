#include "platform/x11/InputGrab.h"
#include "platform/x11/XConnection.h"
#include "platform/x11/XReply.h"

#include <QWindow>

namespace platform::x11 {

InputGrab::InputGrab(QWindow& window) : window_(window)
{
    retry_.setInterval(RetryMs);
    QObject::connect(&retry_, &QTimer::timeout, [this] { tryGrab(); });
    tryGrab();
}

InputGrab::~InputGrab()
{
    if (pointer_)
        window_.setMouseGrabEnabled(false);
    if (keyboard_)
        window_.setKeyboardGrabEnabled(false);
    flushX();
}

void InputGrab::tryGrab()
{
    // The X server sends every key and pointer event to the grabbing window,
    // whichever window has the focus; the focus too goes to the window, for
    // clients that look at it. A window not yet viewable refuses both.
    keyboard_ = keyboard_ || window_.setKeyboardGrabEnabled(true);
    pointer_ = pointer_ || window_.setMouseGrabEnabled(true);
    if (xcb_connection_t* c = xcbConnection())
        errorOf(c, xcb_set_input_focus_checked(c, XCB_INPUT_FOCUS_POINTER_ROOT,
                                               xcb_window_t(window_.winId()), XCB_CURRENT_TIME));
    if (keyboard_ && pointer_)
        retry_.stop();
    else if (!retry_.isActive())
        retry_.start();
}

} // namespace platform::x11
