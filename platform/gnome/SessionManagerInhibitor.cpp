#include "platform/gnome/SessionManagerInhibitor.h"

#include <QDBusMessage>

namespace platform::gnome {

namespace {

const QString service = QStringLiteral("org.gnome.SessionManager");
const QString path = QStringLiteral("/org/gnome/SessionManager");
const QString interface = QStringLiteral("org.gnome.SessionManager");
// The session manager's flag for "keep the session from being marked idle".
constexpr uint inhibitIdle = 8;
// The question is put when the session turns idle; an answer that takes
// longer is no answer, and the saver comes.
constexpr int callTimeoutMs = 2000;

} // namespace

SessionManagerInhibitor::SessionManagerInhibitor(const QDBusConnection& bus)
    : m_bus(bus), m_managerOnBus(service, bus, QDBusServiceWatcher::WatchForUnregistration)
{
    // An inhibitor goes when its program lets go or leaves the bus; the
    // session manager then announces its removal and a change of its
    // InhibitedActions property. The slot takes no arguments: it asks again
    // in any case, and Qt 6.4 refuses a slot taking D-Bus's own types before
    // it has registered them.
    m_bus.connect(service, path, interface, QStringLiteral("InhibitorRemoved"), this, SLOT(checkRelease()));
    m_bus.connect(service, path, QStringLiteral("org.freedesktop.DBus.Properties"),
                  QStringLiteral("PropertiesChanged"), this, SLOT(checkRelease()));
    // A session manager that ends takes its inhibitors with it.
    connect(&m_managerOnBus, &QDBusServiceWatcher::serviceUnregistered, this,
            &SessionManagerInhibitor::checkRelease);
}

bool SessionManagerInhibitor::holds()
{
    m_held = idleInhibited();
    return m_held;
}

bool SessionManagerInhibitor::idleInhibited()
{
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, interface, QStringLiteral("IsInhibited"));
    call << inhibitIdle;
    // Outside GNOME the name has no owner, and nothing may be started for it.
    call.setAutoStartService(false);
    const QDBusMessage reply = m_bus.call(call, QDBus::Block, callTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
           reply.arguments().constFirst().toBool();
}

void SessionManagerInhibitor::checkRelease()
{
    if (m_held && !idleInhibited()) {
        m_held = false;
        emit released();
    }
}

} // namespace platform::gnome
