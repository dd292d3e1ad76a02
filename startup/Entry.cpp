// Program entry: checks for an X display, starts the toolkit and runs Main.
#include "platform/x11/X11Platform.h"
#include "startup/Cursor.h"
#include "startup/Main.h"
#include "startup/ProgramWindows.h"
#include "startup/WidgetModule.h"

#include <cstdio>

int main(int argc, char** argv)
{
    // Creating the toolkit without a display would abort the process.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !platform::displayAvailable()) {
        const QByteArray display = qgetenv("DISPLAY");
        if (display.isEmpty())
            std::fprintf(stderr, "Lilywade: no X display (DISPLAY is not set); "
                                 "run it inside an X11 session.\n");
        else
            std::fprintf(stderr, "Lilywade: cannot open the X display \"%s\".\n",
                         display.constData());
        return 1;
    }
    // The saver copies the screen pixel for pixel and draws in screen
    // pixels: no scaling by the toolkit.
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    const std::unique_ptr<QGuiApplication> app = createApplication(argc, argv);
    if (!app)
        return 1;
    QGuiApplication::setQuitOnLastWindowClosed(false);
    platform::X11Platform platform(QCoreApplication::arguments());
    platform.onTerminationRequest([&platform] { EndOnRequest(platform); });
    ProgramWindows windows(platform);
    if (!Main(platform, windows))
        return 0;
    return QGuiApplication::exec();
}
