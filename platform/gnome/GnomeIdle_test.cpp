// GNOME's idle monitor and session manager as the idle launcher sees them,
// against fakes of both on a D-Bus daemon of the test's own. The fakes answer
// from a thread of their own, as the program's calls to them block.
#include "platform/gnome/MutterIdleWatch.h"
#include "platform/gnome/SessionManagerInhibitor.h"

#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <atomic>
#include <functional>
#include <gtest/gtest.h>

using namespace std::chrono_literals;
using platform::gnome::MutterIdleWatch;
using platform::gnome::SessionManagerInhibitor;

namespace {

const QString mutterService = QStringLiteral("org.gnome.Mutter.IdleMonitor");
const QString mutterPath = QStringLiteral("/org/gnome/Mutter/IdleMonitor/Core");
const QString managerService = QStringLiteral("org.gnome.SessionManager");
const QString managerPath = QStringLiteral("/org/gnome/SessionManager");

} // namespace

/** Mutter's idle monitor: the idle watch is number 1, user-active watches 2, 3, … */
class FakeIdleMonitor : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.gnome.Mutter.IdleMonitor")
public:
    std::atomic<qulonglong> idleInterval = 0;
    std::atomic<uint> activeWatches = 0;
public slots:
    uint AddIdleWatch(qulonglong interval)
    {
        idleInterval = interval;
        return 1;
    }
    uint AddUserActiveWatch() { return 2 + activeWatches++; }
};

/** GNOME's session manager, holding the inhibit flags in `inhibited`, and
 *  counting the questions put to it. */
class FakeSessionManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.gnome.SessionManager")
public:
    std::atomic<uint> inhibited = 0;
    std::atomic<int> questions = 0;
public slots:
    bool IsInhibited(uint flags)
    {
        ++questions;
        return (inhibited & flags) != 0;
    }
};

namespace {

/** A dbus-daemon of the test's own, the program's connection to it and the
 *  fake desktop's, whose objects live in a thread of their own. */
class PrivateBus {
public:
    PrivateBus()
    {
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1"),
                        QStringLiteral("--address=unix:dir=") + m_folder.path()});
        if (m_daemon.waitForReadyRead(10000))
            m_address = QString::fromUtf8(m_daemon.readLine().trimmed());
        m_thread.start();
    }
    ~PrivateBus()
    {
        m_thread.quit();
        m_thread.wait();
        qDeleteAll(m_fakes);
        QDBusConnection::disconnectFromBus(QStringLiteral("program"));
        QDBusConnection::disconnectFromBus(QStringLiteral("desktop"));
        m_daemon.terminate();
        m_daemon.waitForFinished();
    }
    QDBusConnection program() const { return QDBusConnection::connectToBus(m_address, QStringLiteral("program")); }
    QDBusConnection desktop() const { return QDBusConnection::connectToBus(m_address, QStringLiteral("desktop")); }

    /** A fake object of type Fake at path, its service named name on the bus. */
    template <class Fake> Fake& serve(const QString& name, const QString& path)
    {
        auto* fake = new Fake;
        m_fakes.push_back(fake);
        fake->moveToThread(&m_thread);
        desktop().registerObject(path, fake, QDBusConnection::ExportAllSlots);
        desktop().registerService(name);
        return *fake;
    }
    /** Sends the desktop's signal member on path, interface, with args. */
    void signal(const QString& path, const QString& interface, const QString& member, const QVariantList& args)
    {
        QDBusMessage message = QDBusMessage::createSignal(path, interface, member);
        message.setArguments(args);
        desktop().send(message);
    }

private:
    QTemporaryDir m_folder;
    QProcess m_daemon;
    QString m_address;
    QThread m_thread;
    std::vector<QObject*> m_fakes;
};

/** Waits until spy has seen count signals; false after five seconds without one. */
bool waitForCount(QSignalSpy& spy, int count)
{
    while (spy.count() < count)
        if (!spy.wait(5000))
            return false;
    return true;
}

/** Runs the event loop until done() holds; false after five seconds. The
 *  program's slots run inside the loop: once done() holds, the slot that
 *  made it so has returned. */
bool waitFor(const std::function<bool()>& done)
{
    QDeadlineTimer deadline(5000);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return done();
}

} // namespace

TEST(GnomeIdle, MutterWatchFollowsItsOwnWatchesUntilMutterLeaves)
{
    PrivateBus bus;
    ASSERT_TRUE(bus.program().isConnected()) << "no dbus-daemon of the test's own";
    EXPECT_EQ(MutterIdleWatch::create(bus.program(), 2s), nullptr) << "a watch without Mutter";

    FakeIdleMonitor& mutter = bus.serve<FakeIdleMonitor>(mutterService, mutterPath);
    const std::unique_ptr<MutterIdleWatch> watch = MutterIdleWatch::create(bus.program(), 2s);
    ASSERT_NE(watch, nullptr);
    EXPECT_EQ(mutter.idleInterval, 2000u);
    QString said;
    QObject::connect(watch.get(), &platform::IdleWatch::idle, [&] { said += 'I'; });
    QObject::connect(watch.get(), &platform::IdleWatch::active, [&] { said += 'A'; });
    QSignalSpy ended(watch.get(), &platform::IdleWatch::sessionEnded);

    // A user-active watch before idle, an unknown one, the idle watch twice
    // in one idle period (input came before the user-active watch was in
    // place), and a user-active watch replaced since: only Mutter's firings
    // of the watch's current watches count, in their order.
    QSignalSpy active(watch.get(), &platform::IdleWatch::active);
    for (uint id : {2u, 1u, 99u, 2u, 2u, 1u, 1u, 3u, 4u})
        bus.signal(mutterPath, mutterService, QStringLiteral("WatchFired"), {id});
    ASSERT_TRUE(waitForCount(active, 3));
    EXPECT_EQ(said, QStringLiteral("IAIAIA"));
    EXPECT_EQ(mutter.activeWatches, 3u);

    bus.desktop().unregisterService(mutterService);
    EXPECT_TRUE(waitForCount(ended, 1)) << "Mutter left the bus unseen";
}

TEST(GnomeIdle, SessionManagerHoldsWithTheIdleFlagUntilItLetsGo)
{
    PrivateBus bus;
    ASSERT_TRUE(bus.program().isConnected()) << "no dbus-daemon of the test's own";
    EXPECT_FALSE(SessionManagerInhibitor(bus.program()).holds()) << "held without a session manager";

    FakeSessionManager& manager = bus.serve<FakeSessionManager>(managerService, managerPath);
    SessionManagerInhibitor inhibitor(bus.program());
    QSignalSpy released(&inhibitor, &platform::IdleInhibitor::released);
    const auto removed = [&] {
        bus.signal(managerPath, managerService, QStringLiteral("InhibitorRemoved"),
                   {QVariant::fromValue(QDBusObjectPath("/org/gnome/SessionManager/Inhibitor1"))});
    };
    manager.inhibited = 4; // suspend only
    EXPECT_FALSE(inhibitor.holds()) << "held by another flag than idle";
    manager.inhibited = 4 | 8;
    EXPECT_TRUE(inhibitor.holds());
    // Another inhibitor went, the idle one stays: asked again, still held.
    const int questions = manager.questions;
    removed();
    EXPECT_TRUE(waitFor([&] { return manager.questions > questions; })) << "InhibitorRemoved unseen";
    EXPECT_EQ(released.count(), 0);
    manager.inhibited = 4;
    removed();
    EXPECT_TRUE(waitForCount(released, 1)) << "the idle inhibitor's removal unseen";

    manager.inhibited = 8;
    EXPECT_TRUE(inhibitor.holds());
    manager.inhibited = 0;
    bus.signal(managerPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"),
               {managerService, QVariantMap{{QStringLiteral("InhibitedActions"), 0u}}, QStringList()});
    EXPECT_TRUE(waitForCount(released, 2)) << "a change of the inhibited actions unseen";

    manager.inhibited = 8;
    EXPECT_TRUE(inhibitor.holds());
    bus.desktop().unregisterService(managerService);
    EXPECT_TRUE(waitForCount(released, 3)) << "the session manager left the bus unseen";
    EXPECT_EQ(released.count(), 3);
}

#include "GnomeIdle_test.moc"
