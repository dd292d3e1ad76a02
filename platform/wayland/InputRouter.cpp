#include "platform/wayland/InputRouter.h"
#include "platform/wayland/Session.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <linux/input-event-codes.h>

namespace platform::wayland {

namespace {

/** The toolkit's key and modifier for a Linux key code. Keys come without a
 *  keymap, so only the modifiers, whose own presses count, are named; every
 *  other key is a key all the same. */
std::pair<Qt::Key, Qt::KeyboardModifier> qtKey(std::uint32_t key)
{
    switch (key) {
    case KEY_LEFTSHIFT:
    case KEY_RIGHTSHIFT: return {Qt::Key_Shift, Qt::ShiftModifier};
    case KEY_LEFTCTRL:
    case KEY_RIGHTCTRL: return {Qt::Key_Control, Qt::ControlModifier};
    case KEY_LEFTALT: return {Qt::Key_Alt, Qt::AltModifier};
    case KEY_RIGHTALT: return {Qt::Key_AltGr, Qt::GroupSwitchModifier};
    case KEY_LEFTMETA:
    case KEY_RIGHTMETA: return {Qt::Key_Meta, Qt::MetaModifier};
    default: return {Qt::Key_unknown, Qt::NoModifier};
    }
}

Qt::MouseButton qtButton(std::uint32_t button)
{
    switch (button) {
    case BTN_LEFT: return Qt::LeftButton;
    case BTN_RIGHT: return Qt::RightButton;
    case BTN_MIDDLE: return Qt::MiddleButton;
    case BTN_SIDE: return Qt::BackButton;
    case BTN_EXTRA: return Qt::ForwardButton;
    default: return Qt::ExtraButton3;
    }
}

// What xkb, and so the toolkit on X11, numbers a Linux key code.
constexpr std::uint32_t xkbKeycodeOffset = 8;

} // namespace

InputRouter::InputRouter(Session& session)
{
    Session::Events& events = session.events;
    events.keyPressed = [this](std::uint32_t key) { keyPressed(key); };
    events.buttonPressed = [this](std::uint32_t button, QPointF where) { buttonPressed(button, where); };
    events.pointerMoved = [this](QPointF where) { pointerMoved(where); };
    // The wheel stays unreported: on X11 it comes as wheel events, which no
    // window of the program handles.
}

void InputRouter::keyPressed(std::uint32_t key)
{
    if (!window_)
        return;
    const auto [qtCode, modifier] = qtKey(key);
    QKeyEvent event(QEvent::KeyPress, qtCode, modifier, key + xkbKeycodeOffset, 0, 0);
    QCoreApplication::sendEvent(window_, &event);
}

void InputRouter::buttonPressed(std::uint32_t button, QPointF where)
{
    if (!window_)
        return;
    const Qt::MouseButton pressed = qtButton(button);
    QMouseEvent event(QEvent::MouseButtonPress, where, where, where, pressed, pressed, Qt::NoModifier);
    QCoreApplication::sendEvent(window_, &event);
}

void InputRouter::pointerMoved(QPointF where)
{
    if (!window_)
        return;
    QMouseEvent event(QEvent::MouseMove, where, where, where, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window_, &event);
}

} // namespace platform::wayland
