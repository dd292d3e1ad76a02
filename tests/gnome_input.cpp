// Test tool: a keyboard and a pointer on Mutter or GNOME Shell, through the
// remote-desktop interface on the session bus (org.gnome.Mutter.RemoteDesktop),
// as a remote-desktop server or a test harness makes them. One session for the
// whole run: its devices go when it stops. Reads commands from standard input,
// one a line, and after each prints "acted MS" (the wall clock in milliseconds
// since the epoch):
//   key CODE    presses and releases a key (a Linux input event code)
//   move DX DY  moves the pointer by a distance (the layout's edges hold it)
//   click       presses and releases the left button
// Prints "ready" once the devices exist: the first key after the start only
// makes the keyboard (its clients see it held at their enter), so a Shift
// goes first. Runs until the end of its input or until killed; exits 1 when
// the session cannot be made.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>

namespace {

constexpr char service[] = "org.gnome.Mutter.RemoteDesktop";
constexpr int leftButton = 0x110; // BTN_LEFT
constexpr unsigned leftShift = 42; // KEY_LEFTSHIFT

long long epochMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

/** Calls method on the session; false, with the error printed, when it fails. */
bool call(QDBusInterface& session, const char* method, const QVariant& a, const QVariant& b)
{
    const QDBusMessage reply = session.call(QString::fromLatin1(method), a, b);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        std::fprintf(stderr, "%s: %s\n", method, qPrintable(reply.errorMessage()));
        return false;
    }
    return true;
}

bool key(QDBusInterface& session, unsigned code)
{
    return call(session, "NotifyKeyboardKeycode", code, true) && call(session, "NotifyKeyboardKeycode", code, false);
}

bool click(QDBusInterface& session)
{
    return call(session, "NotifyPointerButton", leftButton, true) &&
           call(session, "NotifyPointerButton", leftButton, false);
}

/** Runs one command line; false on a word it does not know or a failed call. */
bool run(QDBusInterface& session, const std::string& line)
{
    std::istringstream words(line);
    std::string command;
    words >> command;
    if (command == "key") {
        unsigned code = 0;
        words >> code;
        return key(session, code);
    }
    if (command == "move") {
        double dx = 0, dy = 0;
        words >> dx >> dy;
        return call(session, "NotifyPointerMotionRelative", dx, dy);
    }
    if (command == "click")
        return click(session);
    std::fprintf(stderr, "unknown command: %s\n", line.c_str());
    return false;
}

std::unique_ptr<QDBusInterface> startSession()
{
    QDBusInterface desktop(QString::fromLatin1(service), QStringLiteral("/org/gnome/Mutter/RemoteDesktop"),
                           QStringLiteral("org.gnome.Mutter.RemoteDesktop"));
    const QDBusReply<QDBusObjectPath> path = desktop.call(QStringLiteral("CreateSession"));
    if (!path.isValid()) {
        std::fprintf(stderr, "CreateSession: %s\n", qPrintable(path.error().message()));
        return nullptr;
    }
    auto session = std::make_unique<QDBusInterface>(QString::fromLatin1(service), path.value().path(),
                                                    QStringLiteral("org.gnome.Mutter.RemoteDesktop.Session"));
    const QDBusMessage started = session->call(QStringLiteral("Start"));
    if (started.type() == QDBusMessage::ErrorMessage) {
        std::fprintf(stderr, "Start: %s\n", qPrintable(started.errorMessage()));
        return nullptr;
    }
    return session;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const std::unique_ptr<QDBusInterface> session = startSession();
    // A motion that goes nowhere makes the pointer.
    if (!session || !key(*session, leftShift) || !call(*session, "NotifyPointerMotionRelative", 0.0, 0.0))
        return 1;
    std::printf("ready\n");
    std::fflush(stdout);
    for (std::string line; std::getline(std::cin, line);) {
        if (line.empty())
            continue;
        if (!run(*session, line))
            return 1;
        std::printf("acted %lld\n", epochMs());
        std::fflush(stdout);
    }
    session->call(QStringLiteral("Stop"));
    return 0;
}
