// Entry of lilywade, the frogs as a hack of the screen-saver hosts: reads the
// options over the stored settings, finds the window to draw into and runs the
// frogs there until the host ends the process.
#include "hack/DesktopImages.h"
#include "hack/FrogHack.h"
#include "hack/HackGround.h"
#include "hack/HackStart.h"
#include "platform/factory/PlatformFactory.h"
#include "sprites/SpriteSet.h"
#include "startup/Globals.h"
#include "startup/Version.h"

#include <QDir>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <cstdio>

namespace {

/** A locker, the host's settings or the user's own want no desktop shown; on
 *  the root window there is no host's copy of the screen to show. */
bool groundIsBlack(platform::WindowId host, platform::Platform& platform)
{
    return SaverSettings.Blank || host == platform.rootWindow()
        || qEnvironmentVariableIsSet("XSCREENSAVER_SAVER_INDEX")
        || !desktopImagesAllowed(desktopImageSources(platform, QDir::homePath().toStdString()));
}

/** $XSCREENSAVER_WINDOW when set and not empty. */
std::optional<std::string> hostWindowText()
{
    const QByteArray text = qgetenv("XSCREENSAVER_WINDOW");
    return text.isEmpty() ? std::nullopt : std::optional(text.toStdString());
}

int usageError(const std::string& error)
{
    std::fprintf(stderr, "lilywade: %s\n%s", error.c_str(), hackUsage().c_str());
    return 1;
}

/** Runs the frogs in host (0: a window of their own) until the process is ended. */
int runFrogs(platform::Platform& platform, const HackOptions& options, platform::WindowId host)
{
    const QSize size = host ? platform.windowSize(host) : QSize(1024, 768);
    if (size.isEmpty())
        return usageError("there is no window " + std::to_string(host) + ".");
    // A foreign window, not a window of ours: checked above, since Qt would
    // otherwise show a stray window of its own for an id that is none.
    QWindow* const hostWindow = host ? QWindow::fromWinId(host) : nullptr;
    const bool black = groundIsBlack(host, platform);
    // Made once: the frogs keep their size when the window changes its own.
    const SpriteSet sprites = scaledSprites(loadSprites(), hackFrogScale(platform, options, host, size));
    FrogHack frogs(platform, sprites, hostWindow, size, [&platform, host, black](QSize at) {
        return hackGround(platform, host, at, black);
    });
    if (host)
        platform.watchWindow(host, [&frogs](QSize at) { frogs.setGeometry(QRect(QPoint(), at)); },
                             [&platform] { platform.endProcess(0); });
    frogs.show();
    return QGuiApplication::exec();
}

} // namespace

int main(int argc, char** argv)
{
    std::string error;
    const std::optional<HackOptions> options =
        parseHackOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options)
        return usageError(error);
    if (options->help) {
        std::printf("%s", hackUsage().c_str());
        return 0;
    }
    if (options->version) {
        std::printf("lilywade %s\n", LilywadeVersion);
        return 0;
    }
    // The hosts give X11 windows; the frogs' own window (no host's) opens
    // natively on a Wayland compositor where there is one.
    const bool ownWindow = !options->windowId && !options->root && !hostWindowText();
    const auto made =
        platform::createPlatform(ownWindow ? platform::DisplayUse::OwnWindow : platform::DisplayUse::X11Window,
                                 [&] { return std::make_unique<QGuiApplication>(argc, argv); });
    if (!made.platform) {
        std::fprintf(stderr, "lilywade: %s\n", made.error.c_str());
        return 1;
    }
    platform::Platform& platform = *made.platform;
    // On a screen of palette colours the frogs cannot show: the host's window
    // stays as the host left it.
    if (!platform.hasTrueColour()) {
        std::fprintf(stderr, "lilywade: the display has no true colour (it shows a palette); "
                             "there is nothing to draw.\n");
        return 0;
    }
    // The host may destroy its window at any time: what the toolkit then says
    // about requests on a window that is gone is no news to the user.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.qpa.xcb*=false"));
    platform.onTerminationRequest([&platform] { platform.endProcess(0); });
    SaverSettings = hackSettings(platform, *options);
    // Of several hacks on one display (one per monitor) only one plays the
    // sounds; the others keep the same pace in silence.
    if (SaverSettings.Sound)
        platform.claimSoundPlayer();
    const std::optional<platform::WindowId> host =
        targetWindow(*options, hostWindowText(), platform.rootWindow());
    if (!host)
        return usageError("XSCREENSAVER_WINDOW is not a window id.");
    return runFrogs(platform, *options, *host);
}
