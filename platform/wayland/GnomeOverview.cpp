#include "platform/wayland/GnomeOverview.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QFileInfo>

namespace platform::wayland {

namespace {

// Where no session bus runs, connecting to one may launch a bus daemon that
// outlives the saver (D-Bus autolaunch): connect only to one that runs.
bool sessionBusRuns()
{
    if (qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS"))
        return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo(runtime + QStringLiteral("/bus")).exists();
}

} // namespace

void leaveGnomeOverview()
{
    if (!sessionBusRuns())
        return;
    QDBusMessage hide = QDBusMessage::createMethodCall(
        QStringLiteral("org.gnome.Shell"), QStringLiteral("/org/gnome/Shell"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Set"));
    hide << QStringLiteral("org.gnome.Shell") << QStringLiteral("OverviewActive")
         << QVariant::fromValue(QDBusVariant(false));
    // Elsewhere the name has no owner, and nothing may be started for it.
    hide.setAutoStartService(false);
    QDBusConnection::sessionBus().send(hide);
}

} // namespace platform::wayland
