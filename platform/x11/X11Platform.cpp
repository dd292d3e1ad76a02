// The X display's part of the process: the screen's size, the display's
// name, its bell, the blank cursor and getting requests to it before the end.
#include "platform/x11/X11Platform.h"
#include "platform/x11/ConnectionGuard.h"
#include "platform/x11/InputGrab.h"   // complete types for the constructor
#include "platform/x11/PaintTarget.h"
#include "platform/x11/ScreenGrab.h"
#include "platform/x11/WindowWatcher.h"
#include "platform/x11/XConnection.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

namespace platform::x11 {

X11Platform::X11Platform(std::unique_ptr<QGuiApplication> application)
    : LinuxPlatform(std::move(application))
{
    connectionGuard_ = std::make_unique<ConnectionGuard>(
        [this] { endForLostDisplay(QStringLiteral("the X server went away.")); });
    QCoreApplication::instance()->installNativeEventFilter(connectionGuard_.get());
}

X11Platform::~X11Platform() = default;

QSize X11Platform::screenPixels()
{
    // The root window spans every monitor, and the server knows its size
    // even before the toolkit has heard that it changed.
    if (xcb_connection_t* c = xcbConnection())
        return x11::windowSize(c, x11::rootWindow());
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->virtualGeometry().size() : QSize();
}

std::string X11Platform::displayName()
{
    return qgetenv("DISPLAY").toStdString();
}

void X11Platform::ringBell()
{
    if (xcb_connection_t* connection = xcbConnection()) {
        xcb_bell(connection, 0); // the desktop bell at its base volume
        xcb_flush(connection);
    }
}

void X11Platform::flushDisplay()
{
    flushX();
}

void X11Platform::blankCursor(bool blank)
{
    // Every window of the program shows the blank cursor while it is on.
    if (blank)
        QGuiApplication::setOverrideCursor(QCursor(Qt::BlankCursor));
    else {
        QGuiApplication::restoreOverrideCursor();
        flushX();
    }
}

} // namespace platform::x11
