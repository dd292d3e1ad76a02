#include "platform/linux/ScreenSaverInhibit.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>

namespace platform {

namespace {

const QString serviceName = QStringLiteral("org.freedesktop.ScreenSaver");
// Callers use either path.
const QString paths[] = {QStringLiteral("/org/freedesktop/ScreenSaver"), QStringLiteral("/ScreenSaver")};

} // namespace

std::unique_ptr<ScreenSaverInhibit> ScreenSaverInhibit::serve()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface())
        return nullptr;
    std::unique_ptr<ScreenSaverInhibit> service(new ScreenSaverInhibit);
    for (const QString& path : paths)
        if (!bus.registerObject(path, service.get(), QDBusConnection::ExportScriptableSlots))
            return nullptr;
    service->registered_ = true;
    const auto reply = bus.interface()->registerService(serviceName, QDBusConnectionInterface::DontQueueService,
                                                         QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered)
        return nullptr;
    return service;
}

ScreenSaverInhibit::ScreenSaverInhibit()
    : callers_(QString(), QDBusConnection::sessionBus(), QDBusServiceWatcher::WatchForUnregistration)
{
    connect(&callers_, &QDBusServiceWatcher::serviceUnregistered, this, &ScreenSaverInhibit::onCallerGone);
}

ScreenSaverInhibit::~ScreenSaverInhibit()
{
    if (!registered_)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    for (const QString& path : paths)
        bus.unregisterObject(path);
    if (bus.interface())
        bus.interface()->unregisterService(serviceName);
}

bool ScreenSaverInhibit::holds()
{
    return !holders_.isEmpty();
}

uint ScreenSaverInhibit::Inhibit(const QString&, const QString&)
{
    // Not zero: some callers read a zero cookie as a failure.
    do
        ++lastCookie_;
    while (lastCookie_ == 0 || holders_.contains(lastCookie_));
    const QString caller = calledFromDBus() ? message().service() : QString();
    holders_.insert(lastCookie_, caller);
    if (!caller.isEmpty() && !callers_.watchedServices().contains(caller))
        callers_.addWatchedService(caller);
    return lastCookie_;
}

void ScreenSaverInhibit::UnInhibit(uint cookie)
{
    dropCookie(cookie);
}

void ScreenSaverInhibit::dropCookie(uint cookie)
{
    if (!holders_.contains(cookie))
        return; // unknown, or already let go
    const QString caller = holders_.take(cookie);
    if (!caller.isEmpty() && holders_.keys(caller).isEmpty())
        callers_.removeWatchedService(caller);
    if (holders_.isEmpty())
        emit released();
}

void ScreenSaverInhibit::onCallerGone(const QString& caller)
{
    const QList<uint> cookies = holders_.keys(caller);
    for (uint cookie : cookies)
        dropCookie(cookie);
}

} // namespace platform
