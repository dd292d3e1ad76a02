// Program entry: starts the toolkit on the display the mode needs and runs Main.
#include "platform/factory/PlatformFactory.h"
#include "startup/Cursor.h"
#include "startup/Main.h"
#include "startup/ProgramWindows.h"

#include <QApplication>
#include <cstdio>

namespace {

/** The mode as the command line gives it, before the toolkit takes its options out. */
std::string modeOf(int argc, char** argv)
{
    std::string argumentText;
    for (int i = 1; i < argc; ++i)
        argumentText += (i > 1 ? " " : "") + std::string(argv[i]);
    return modeText(argumentText);
}

/** The saver covers the screens; the preview draws into the host's X11
 *  window; the dialog (and any other text) shows the toolkit's own windows. */
platform::DisplayUse displayUse(const std::string& mode)
{
    if (mode == "/S")
        return platform::DisplayUse::SaverScreen;
    if (mode == "/P")
        return platform::DisplayUse::X11Window;
    return platform::DisplayUse::ToolkitWindows;
}

/** The saver needs only a window of its own; the dialog and the preview need widgets. */
std::unique_ptr<QGuiApplication> startToolkit(const std::string& mode, int& argc, char** argv)
{
    // Options the toolkit takes out of the command line can only turn "/S"
    // into another text here, never the other way round: the saver can end
    // up with widgets it does not use, never without a window it needs.
    if (mode == "/S")
        return std::make_unique<QGuiApplication>(argc, argv);
    return std::make_unique<QApplication>(argc, argv);
}

} // namespace

int main(int argc, char** argv)
{
    const std::string mode = modeOf(argc, argv);
    const auto made = platform::createPlatform(displayUse(mode), [&] { return startToolkit(mode, argc, argv); });
    if (!made.platform) {
        std::fprintf(stderr, "Lilywade: %s\n", made.error.c_str());
        return 1;
    }
    platform::Platform& platform = *made.platform;
    QGuiApplication::setQuitOnLastWindowClosed(false);
    platform.onTerminationRequest([&platform] { EndOnRequest(platform); });
    ProgramWindows windows(platform);
    if (!Main(platform, windows))
        return 0;
    return QGuiApplication::exec();
}
