// Command line, program folder, screen scale, sleeping, random numbers and
// the end of the process.
#include "platform/linux/EventWait.h"
#include "platform/linux/LinuxPlatform.h"
#include "platform/linux/TerminationSignals.h"

#include <QCoreApplication>
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

void LinuxPlatform::onTerminationRequest(std::function<void()> handler)
{
    onTerminationSignal(std::move(handler));
}

LinuxPlatform::LinuxPlatform(std::unique_ptr<QGuiApplication> application)
    : application_(std::move(application)),
      // As the toolkit leaves them: the options it takes are gone.
      arguments_(QCoreApplication::arguments()), store_(IniStore::forCurrentUser())
{
}

LinuxPlatform::~LinuxPlatform() = default;

double LinuxPlatform::twipsPerPixelX()
{
    const QScreen* screen = primaryScreen();
    return screen ? TwipsPerInch / screen->logicalDotsPerInchX() : 15.0;
}

double LinuxPlatform::twipsPerPixelY()
{
    const QScreen* screen = primaryScreen();
    return screen ? TwipsPerInch / screen->logicalDotsPerInchY() : 15.0;
}

std::string LinuxPlatform::rtcCommandVar()
{
    return arguments_.mid(1).join(QLatin1Char(' ')).toStdString();
}

std::string LinuxPlatform::programFolder()
{
    return platform::programFolder();
}

void LinuxPlatform::Sleep(std::uint32_t ms)
{
    if (ms == 0)
        std::this_thread::yield();
    else
        handleEventsFor(std::chrono::milliseconds(ms));
}

void LinuxPlatform::rtcRandomize()
{
    random_.seed(static_cast<std::uint32_t>(
        std::chrono::high_resolution_clock::now().time_since_epoch().count()));
}

float LinuxPlatform::rtcRandomNext()
{
    // 24 random bits give every float in [0, 1) with a step of 2^-24, never 1.
    return static_cast<float>(random_() >> 8) * (1.0f / 16777216.0f);
}

void LinuxPlatform::endProcess(int status)
{
    // Whatever was asked of the display (cursor, ungrab, unmap) must reach
    // it before the process goes; no handler or destructor runs after this.
    flushDisplay();
    ::_exit(status);
}

} // namespace platform
