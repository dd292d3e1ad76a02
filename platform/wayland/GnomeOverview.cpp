#include "platform/wayland/GnomeOverview.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>

namespace platform::wayland {

void leaveGnomeOverview()
{
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
