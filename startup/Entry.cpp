// Program entry: starts the toolkit on the X display and runs Main.
#include "platform/PlatformFactory.h"
#include "startup/Cursor.h"
#include "startup/Main.h"
#include "startup/ProgramWindows.h"

#include <QApplication>
#include <cstdio>

namespace {

/** The saver needs only a window of its own; the dialog and the preview need widgets. */
std::unique_ptr<QGuiApplication> startToolkit(int& argc, char** argv)
{
    std::string argumentText;
    for (int i = 1; i < argc; ++i)
        argumentText += (i > 1 ? " " : "") + std::string(argv[i]);
    // Options the toolkit takes out of the command line can only turn "/S"
    // into another text here, never the other way round: the saver can end
    // up with widgets it does not use, never without a window it needs.
    if (modeText(argumentText) == "/S")
        return std::make_unique<QGuiApplication>(argc, argv);
    return std::make_unique<QApplication>(argc, argv);
}

} // namespace

int main(int argc, char** argv)
{
    const auto made = platform::createPlatform([&] { return startToolkit(argc, argv); });
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
