#pragma once
// Idle time on X11 from the X server's own screen-saver timer: it stops while
// a client holds XScreenSaverSuspend (games, video players), which the
// extension's idle counter does not. The timer is set to the chosen time for
// as long as the watch lives, and the user's settings restored after.

#include "platform/IdleWatch.h"

#include <QSocketNotifier>
#include <QTimer>
#include <chrono>
#include <memory>
#include <xcb/xcb.h>

namespace platform::x11 {

class X11IdleWatch : public IdleWatch {
    Q_OBJECT
public:
    /** The watch over its own connection to DISPLAY, or why there is none. */
    static IdleWatchOrError connect(std::chrono::seconds timeout);
    ~X11IdleWatch() override;

    QString source() const override;
    bool otherHostRuns() override;

private:
    struct ServerSaver {
        int16_t timeout, interval;
        uint8_t preferBlanking, allowExposures;
    };
    X11IdleWatch(xcb_connection_t* connection, std::chrono::seconds timeout);
    QString takeOver();
    void readEvents();
    void onServerSaver(uint8_t state);

    xcb_connection_t* connection_;
    xcb_screen_t* screen_ = nullptr;
    uint8_t notifyEvent_ = 0; // the extension's ScreenSaverNotify event code
    ServerSaver saved_{};
    bool takenOver_ = false;
    bool idle_ = false;
    bool ended_ = false;
    std::chrono::seconds timeout_;
    QTimer beyondServer_; // the part of a long time the server's 16 bits cannot hold
    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace platform::x11
