#pragma once
// GNOME's own way of keeping the session from going idle: programs (a video
// player, GNOME's portal on behalf of a sandboxed one) ask the session
// manager (org.gnome.SessionManager) for an inhibitor with the idle flag.
// GNOME's compositor counts idle time regardless, so the question is put to
// the session manager whenever the session turns idle.

#include "platform/IdleWatch.h"

#include <QDBusConnection>
#include <QDBusServiceWatcher>

namespace platform::gnome {

class SessionManagerInhibitor : public IdleInhibitor {
    Q_OBJECT
public:
    /** Asks the session manager on bus; where none runs, nothing holds. */
    explicit SessionManagerInhibitor(const QDBusConnection& bus);
    bool holds() override;

private slots:
    /** Says released() when the session manager held the idle flag at the
     *  last question and no longer does. */
    void checkRelease();

private:
    bool idleInhibited();

    QDBusConnection m_bus;
    QDBusServiceWatcher m_managerOnBus;
    bool m_held = false;
};

} // namespace platform::gnome
