// Command line, program folder, screen scale, sleeping, random numbers and
// the end of the process.
#include "platform/x11/X11Platform.h"
#include "platform/x11/InputGrab.h"   // complete types for the constructor
#include "platform/x11/PaintTarget.h"
#include "platform/x11/ScreenGrab.h"
#include "platform/x11/EventWait.h"
#include "platform/x11/WindowWatcher.h"
#include "platform/x11/XConnection.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QFileInfo>
#include <QScreen>
#include <chrono>
#include <thread>
#include <unistd.h>

namespace platform {

namespace {

constexpr double TwipsPerInch = 1440.0;

QScreen* primaryScreen() { return QGuiApplication::primaryScreen(); }

} // namespace

std::string programFolder()
{
    // The executable's own location, not the current directory; readable
    // before the toolkit starts.
    const QString self = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    if (!self.isEmpty())
        return QFileInfo(self).absolutePath().toStdString();
    return QCoreApplication::instance() ? QCoreApplication::applicationDirPath().toStdString()
                                        : std::string(".");
}

X11Platform::X11Platform(std::unique_ptr<QGuiApplication> application)
    : application_(std::move(application)),
      // As the toolkit leaves them: the options it takes are gone.
      arguments_(QCoreApplication::arguments()), store_(IniStore::forCurrentUser())
{
}

X11Platform::~X11Platform() = default;

double X11Platform::twipsPerPixelX()
{
    const QScreen* screen = primaryScreen();
    return screen ? TwipsPerInch / screen->logicalDotsPerInchX() : 15.0;
}

double X11Platform::twipsPerPixelY()
{
    const QScreen* screen = primaryScreen();
    return screen ? TwipsPerInch / screen->logicalDotsPerInchY() : 15.0;
}

QSize X11Platform::screenPixels()
{
    // The root window spans every monitor, and the server knows its size
    // even before the toolkit has heard that it changed.
    if (xcb_connection_t* c = xcbConnection())
        return platform::windowSize(c, platform::rootWindow());
    const QScreen* screen = primaryScreen();
    return screen ? screen->virtualGeometry().size() : QSize();
}

std::string X11Platform::rtcCommandVar()
{
    return arguments_.mid(1).join(QLatin1Char(' ')).toStdString();
}

std::string X11Platform::programFolder()
{
    return platform::programFolder();
}

void X11Platform::Sleep(std::uint32_t ms)
{
    if (ms == 0)
        std::this_thread::yield();
    else
        handleEventsFor(std::chrono::milliseconds(ms));
}

void X11Platform::rtcRandomize()
{
    random_.seed(static_cast<std::uint32_t>(
        std::chrono::high_resolution_clock::now().time_since_epoch().count()));
}

float X11Platform::rtcRandomNext()
{
    // 24 random bits give every float in [0, 1) with a step of 2^-24, never 1.
    return static_cast<float>(random_() >> 8) * (1.0f / 16777216.0f);
}

void X11Platform::endProcess(int status)
{
    // Whatever was asked of the X server (cursor, ungrab, unmap) must reach
    // it before the process goes; no handler or destructor runs after this.
    flushX();
    ::_exit(status);
}

} // namespace platform
