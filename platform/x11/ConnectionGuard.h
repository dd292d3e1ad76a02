#pragma once
// Ends the process when the X server has gone, before the toolkit handles
// another event of it. Qt's xcb plugin answers a screen change, and also any
// top-level window's ConfigureNotify that the root's listeners get, by asking
// the server about every screen without checking the replies: if the server
// dies meanwhile, it crashes.

#include <QAbstractNativeEventFilter>
#include <cstdint>
#include <functional>
#include <xcb/xcb.h>

namespace platform::x11 {

class ConnectionGuard : public QAbstractNativeEventFilter {
public:
    /** lost runs (and must not return) once the connection is found broken. */
    explicit ConnectionGuard(std::function<void()> lost);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    bool isScreenChange(const xcb_generic_event_t& event) const;

    std::function<void()> lost_;
    std::uint8_t randrFirstEvent_ = 0; // 0: no RandR, so no screen-change events
    xcb_window_t root_ = 0;
};

} // namespace platform::x11
