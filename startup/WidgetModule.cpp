#include "startup/WidgetModule.h"

#include "platform/x11/X11Platform.h"
#include "startup/Main.h"

#include <QLibrary>
#include <cstdio>

const WidgetModule* widgetModule()
{
    static const WidgetModule* const module = [] {
        const QString path = QString::fromStdString(platform::programFolder() + '/' + WidgetModuleFile);
        QLibrary library(path);
        // Every symbol bound now: a module that does not fit the program fails here, not later.
        library.setLoadHints(QLibrary::ResolveAllSymbolsHint);
        using Entry = const WidgetModule* (*)();
        auto entry = reinterpret_cast<Entry>(library.resolve(WidgetModuleEntry));
        if (!entry) {
            std::fprintf(stderr, "Lilywade: cannot load %s (%s).\n", qPrintable(path),
                         qPrintable(library.errorString()));
            return static_cast<const WidgetModule*>(nullptr);
        }
        return entry(); // the library stays loaded for the life of the process
    }();
    return module;
}

std::unique_ptr<QGuiApplication> createApplication(int& argc, char** argv)
{
    // The same argument text and mode letters Main reads later. Options the
    // toolkit takes out of the command line can only turn "/S" into another
    // text here, never the other way round, so the saver never misses widgets.
    std::string argumentText;
    for (int i = 1; i < argc; ++i)
        argumentText += (i > 1 ? " " : "") + std::string(argv[i]);
    if (modeText(argumentText) == "/S")
        return std::make_unique<QGuiApplication>(argc, argv);
    const WidgetModule* module = widgetModule();
    return module ? module->createApplication(argc, argv) : nullptr;
}
