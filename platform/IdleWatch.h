#pragma once
// What lilywade-idle learns from the desktop: when the session has been left
// alone for the chosen time, when the user is back, when something (a video
// player, a game, a presentation) keeps the saver away, and when the session
// is over. Each desktop tells it its own way; a watch per way lives in the
// backend that speaks it, and the launcher sees only these two interfaces.

#include <QObject>
#include <QString>
#include <chrono>
#include <memory>
#include <vector>

namespace platform {

/** The session's idle time as the display server or compositor counts it. */
class IdleWatch : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    /** Where the idle time comes from, for the start-up line ("the X server's
     *  screen-saver timer"). */
    virtual QString source() const = 0;
    /** True while another screen-saver host (XScreenSaver's daemon) runs on
     *  this display; the launcher then starts nothing. */
    virtual bool otherHostRuns() { return false; }

signals:
    /** Keyboard and pointer have been left alone for the time asked while
     *  nothing held the desktop's own idle timer. Once per idle period. */
    void idle();
    /** The first input after idle(): the next idle period starts now. */
    void active();
    /** The display server or compositor went away: the session is over. */
    void sessionEnded();
};

/** The watch, or one sentence saying why this session has none. */
struct IdleWatchOrError {
    std::unique_ptr<IdleWatch> watch;
    QString error;
};

/** The watch of this session's display: the compositor's idle notifier on
 *  Wayland, GNOME's Mutter over the session bus where the compositor has
 *  none, the X server's screen-saver timer on X11. */
IdleWatchOrError watchIdle(std::chrono::seconds timeout);

/** Something outside the display server that can keep the saver away: asked
 *  when the session turns idle. */
class IdleInhibitor : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    /** True while it keeps the saver away. */
    virtual bool holds() = 0;

signals:
    /** It let go: the idle time counts from now. */
    void released();
};

/** Every inhibitor this session has beside the display server's own. */
std::vector<std::unique_ptr<IdleInhibitor>> idleInhibitors();

} // namespace platform
