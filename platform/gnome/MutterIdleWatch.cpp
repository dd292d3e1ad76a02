#include "platform/gnome/MutterIdleWatch.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace platform::gnome {

namespace {

const QString service = QStringLiteral("org.gnome.Mutter.IdleMonitor");
const QString path = QStringLiteral("/org/gnome/Mutter/IdleMonitor/Core");
const QString interface = QStringLiteral("org.gnome.Mutter.IdleMonitor");
// Mutter answers at once; a compositor that does not is as good as gone.
constexpr int callTimeoutMs = 3000;

QDBusMessage monitorCall(const QString& method)
{
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, interface, method);
    // Only a running Mutter counts: nothing may be started for the name.
    call.setAutoStartService(false);
    return call;
}

} // namespace

MutterIdleWatch::MutterIdleWatch(const QDBusConnection& bus)
    : m_bus(bus), m_mutterOnBus(service, bus, QDBusServiceWatcher::WatchForUnregistration)
{
    // Mutter leaves the bus only when it ends, and the session with it.
    connect(&m_mutterOnBus, &QDBusServiceWatcher::serviceUnregistered, this, &IdleWatch::sessionEnded);
    // Before any watch is added: Mutter fires an idle watch at once when the
    // session already is idle.
    m_bus.connect(service, path, interface, QStringLiteral("WatchFired"), this, SLOT(watchFired(uint)));
}

std::unique_ptr<MutterIdleWatch> MutterIdleWatch::create(const QDBusConnection& bus,
                                                         std::chrono::milliseconds timeout)
{
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(service))
        return nullptr;
    std::unique_ptr<MutterIdleWatch> watch(new MutterIdleWatch(bus));
    QDBusMessage addIdle = monitorCall(QStringLiteral("AddIdleWatch"));
    addIdle << static_cast<qulonglong>(timeout.count());
    const std::optional<uint> id = watch->addWatch(addIdle);
    if (!id)
        return nullptr;
    watch->m_idleWatch = *id;
    return watch;
}

QString MutterIdleWatch::source() const
{
    return QStringLiteral("GNOME's idle monitor (Mutter)");
}

std::optional<uint> MutterIdleWatch::addWatch(const QDBusMessage& call)
{
    const QDBusMessage reply = m_bus.call(call, QDBus::Block, callTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return std::nullopt;
    return reply.arguments().constFirst().toUInt();
}

void MutterIdleWatch::watchFired(uint id)
{
    if (id == m_idleWatch) {
        // Fired again while idle: the user came and went between the idle
        // watch firing and the user-active watch being in place.
        if (m_activeWatch != 0)
            userReturned();
        becameIdle();
    } else if (id == m_activeWatch) {
        userReturned();
    }
}

void MutterIdleWatch::becameIdle()
{
    // Where Mutter refuses it, it is leaving the bus: sessionEnded() follows.
    m_activeWatch = addWatch(monitorCall(QStringLiteral("AddUserActiveWatch"))).value_or(0);
    emit idle();
}

void MutterIdleWatch::userReturned()
{
    m_activeWatch = 0;
    emit active();
}

} // namespace platform::gnome
