#pragma once
// The keyboard and the pointer held for one window, with the keyboard focus.
// The server refuses a grab while another client holds one (an open menu, say):
// then it is tried again, for as long as this object lives.

#include <QTimer>

class QWindow;

namespace platform::x11 {

class InputGrab {
public:
    /** Tries at once, then every RetryMs until both grabs are held. */
    explicit InputGrab(QWindow& window);
    /** Gives back what it holds. */
    ~InputGrab();
    InputGrab(const InputGrab&) = delete;
    InputGrab& operator=(const InputGrab&) = delete;

    static constexpr int RetryMs = 50;

private:
    void tryGrab();

    QWindow& window_;
    bool keyboard_ = false;
    bool pointer_ = false;
    QTimer retry_;
};

} // namespace platform::x11
