#pragma once
// org.freedesktop.ScreenSaver's Inhibit and UnInhibit on the session bus, the
// call browsers and video players make while they play. Served only where no
// other program owns the name (a desktop that has its own keeps it).

#include "platform/IdleWatch.h"

#include <QDBusContext>
#include <QDBusServiceWatcher>
#include <memory>

namespace platform {

class ScreenSaverInhibit : public IdleInhibitor, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")
public:
    /** The service on the session bus, or null where the bus has none to
     *  give: no bus, or the name taken. */
    static std::unique_ptr<ScreenSaverInhibit> serve();
    ~ScreenSaverInhibit() override;

    bool holds() override;

public slots:
    /** Keeps the saver away until UnInhibit(cookie) or the caller leaves the bus. */
    Q_SCRIPTABLE uint Inhibit(const QString& application, const QString& reason);
    Q_SCRIPTABLE void UnInhibit(uint cookie);

private:
    ScreenSaverInhibit();
    void dropCookie(uint cookie);
    void onCallerGone(const QString& caller);

    QDBusServiceWatcher callers_;
    QHash<uint, QString> holders_; // cookie → caller's unique name
    uint lastCookie_ = 0;
    bool registered_ = false;
};

} // namespace platform
