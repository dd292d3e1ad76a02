// Test tool: GNOME's session manager as an idle inhibitor's holder sees it,
// on the session bus (org.gnome.SessionManager at /org/gnome/SessionManager),
// for sessions that run no gnome-session. Reads commands from standard
// input, one a line, and prints each when done:
//   hold     an inhibitor with the idle flag (8), as a video player asks
//   release  the inhibitor goes: InhibitorRemoved, as when the player lets go
// Prints "ready" once it owns the name; exits 1 when it cannot.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QSocketNotifier>
#include <cstdio>
#include <iostream>
#include <string>

class SessionManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.gnome.SessionManager")
public:
    uint inhibited = 0;
public slots:
    bool IsInhibited(uint flags) { return (inhibited & flags) != 0; }
};

namespace {

const QString path = QStringLiteral("/org/gnome/SessionManager");
constexpr uint inhibitIdle = 8;

void run(SessionManager& manager, const std::string& command)
{
    if (command == "hold") {
        manager.inhibited = inhibitIdle;
    } else if (command == "release") {
        manager.inhibited = 0;
        QDBusMessage removed = QDBusMessage::createSignal(path, QStringLiteral("org.gnome.SessionManager"),
                                                          QStringLiteral("InhibitorRemoved"));
        removed << QVariant::fromValue(QDBusObjectPath(path + QStringLiteral("/Inhibitor1")));
        QDBusConnection::sessionBus().send(removed);
    } else {
        std::fprintf(stderr, "unknown command: %s\n", command.c_str());
        return;
    }
    std::printf("%s\n", command.c_str());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    SessionManager manager;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject(path, &manager, QDBusConnection::ExportAllSlots) ||
        !bus.registerService(QStringLiteral("org.gnome.SessionManager"))) {
        std::fprintf(stderr, "cannot serve org.gnome.SessionManager: %s\n", qPrintable(bus.lastError().message()));
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    // Commands come while the bus is served: read them as they arrive.
    QSocketNotifier input(0, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        std::string line;
        if (!std::getline(std::cin, line))
            application.quit();
        else if (!line.empty())
            run(manager, line);
    });
    return application.exec();
}

#include "session_manager.moc"
