#pragma once
// The session's input as the toolkit's own events, sent to one window, so
// that the window's handlers take it as they take input on X11.

#include <QPointF>
#include <QPointer>
#include <QWindow>
#include <cstdint>

namespace platform::wayland {

class Session;

/** Sends the session's key presses, button presses and pointer moves to a window. */
class InputRouter {
public:
    /** Takes over the session's input events; nothing is sent until sendTo. */
    explicit InputRouter(Session& session);
    InputRouter(const InputRouter&) = delete;
    InputRouter& operator=(const InputRouter&) = delete;

    /** From now on input goes to window (canvas pixels as its own); null: to none. */
    void sendTo(QWindow* window) { window_ = window; }

private:
    void keyPressed(std::uint32_t key);
    void buttonPressed(std::uint32_t button, QPointF where);
    void pointerMoved(QPointF where);

    QPointer<QWindow> window_;
};

} // namespace platform::wayland
