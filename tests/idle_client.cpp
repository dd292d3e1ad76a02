// What keeps the saver away, as the programs users run do it, and the X
// server's saver state, for the idle launcher's tests:
//   idle_client suspend   holds XScreenSaverSuspend (a game, mpv)
//   idle_client inhibit   calls org.freedesktop.ScreenSaver Inhibit (a browser)
//   idle_client state     prints the server's saver state: On or Off
// suspend and inhibit print "held" once holding; when their standard input
// ends they let go (UnInhibit), print "released" and stay until killed. With
// "inhibit leave" the end of the input ends the process without UnInhibit.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

void readUntilEnd()
{
    char buffer[64];
    while (::read(STDIN_FILENO, buffer, sizeof buffer) > 0) {
    }
}

void say(const char* line)
{
    std::printf("%s\n", line);
    std::fflush(stdout);
}

int suspend(Display* display)
{
    XScreenSaverSuspend(display, True);
    XSync(display, False);
    say("held");
    readUntilEnd();
    XScreenSaverSuspend(display, False);
    XSync(display, False);
    say("released");
    pause();
    return 0;
}

QDBusMessage call(const char* method, const QVariantList& arguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(
        "org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver", "org.freedesktop.ScreenSaver", method);
    message.setArguments(arguments);
    return QDBusConnection::sessionBus().call(message);
}

int inhibit(bool leave)
{
    const QDBusMessage reply = call("Inhibit", {QStringLiteral("idle_client"), QStringLiteral("test video")});
    if (reply.type() != QDBusMessage::ReplyMessage) {
        std::fprintf(stderr, "idle_client: Inhibit failed: %s\n", qPrintable(reply.errorMessage()));
        return 1;
    }
    say("held");
    readUntilEnd();
    if (leave)
        return 0;
    call("UnInhibit", {reply.arguments().value(0)});
    say("released");
    pause();
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const char* what = argc > 1 ? argv[1] : "";
    if (std::strcmp(what, "inhibit") == 0)
        return inhibit(argc > 2 && std::strcmp(argv[2], "leave") == 0);
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "idle_client: no display\n");
        return 1;
    }
    if (std::strcmp(what, "suspend") == 0)
        return suspend(display);
    XScreenSaverInfo* info = XScreenSaverAllocInfo();
    XScreenSaverQueryInfo(display, DefaultRootWindow(display), info);
    say(info->state == ScreenSaverOn ? "On" : "Off");
    return 0;
}
