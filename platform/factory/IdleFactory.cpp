// The idle watch of this session and the inhibitors beside it. Each watch
// is tried in turn, from the most specific to the most general.
#include "platform/IdleWatch.h"
#include "platform/gnome/MutterIdleWatch.h"
#include "platform/gnome/SessionManagerInhibitor.h"
#include "platform/linux/ScreenSaverInhibit.h"
#include "platform/linux/SessionBus.h"
#include "platform/wayland/WaylandIdleWatch.h"
#include "platform/x11/X11IdleWatch.h"

namespace platform {

namespace {

/** Where no session bus runs, the D-Bus library would autolaunch one on
 *  the first call, which outlives the program: an address of no transport
 *  makes that call fail at once instead. */
void keepBusFromAutolaunching()
{
    if (!sessionBusRuns())
        qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
}

} // namespace

IdleWatchOrError watchIdle(std::chrono::seconds timeout)
{
    keepBusFromAutolaunching();
    QStringList tried;
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        IdleWatchOrError notifier = wayland::watchWaylandIdle(timeout);
        if (notifier.watch)
            return notifier;
        tried << notifier.error;
        // GNOME's Mutter offers no Wayland idle notifier but tells the idle
        // time on the session bus. On X11 the server's own timer serves every
        // desktop, and it honours XScreenSaverSuspend, which Mutter does not.
        if (sessionBusRuns()) {
            if (auto mutter = gnome::MutterIdleWatch::create(QDBusConnection::sessionBus(), timeout))
                return {std::move(mutter), {}};
            tried << QStringLiteral("GNOME's Mutter does not tell the idle time on the session bus");
        }
    }
    if (!qEnvironmentVariableIsEmpty("DISPLAY")) {
        IdleWatchOrError serverTimer = x11::X11IdleWatch::connect(timeout);
        if (serverTimer.watch)
            return serverTimer;
        tried << serverTimer.error;
    }
    if (tried.isEmpty())
        return {nullptr, QStringLiteral("no display to watch: neither WAYLAND_DISPLAY nor DISPLAY is set")};
    return {nullptr, tried.join(QStringLiteral("; and "))};
}

std::vector<std::unique_ptr<IdleInhibitor>> idleInhibitors()
{
    std::vector<std::unique_ptr<IdleInhibitor>> inhibitors;
    keepBusFromAutolaunching();
    if (!sessionBusRuns())
        return inhibitors;
    if (auto service = ScreenSaverInhibit::serve())
        inhibitors.push_back(std::move(service));
    inhibitors.push_back(std::make_unique<gnome::SessionManagerInhibitor>(QDBusConnection::sessionBus()));
    return inhibitors;
}

} // namespace platform
