#include "startup/WidgetModule.h"

#include "platform/x11/ProgramModule.h"
#include "platform/x11/X11Platform.h"
#include "startup/Main.h"

#include <cstdio>

const WidgetModule* widgetModule()
{
    static const WidgetModule* const module = [] {
        using Entry = const WidgetModule* (*)();
        std::string error;
        auto entry = reinterpret_cast<Entry>(
            platform::programModuleEntry(WidgetModuleFile, WidgetModuleEntry, error));
        if (!entry) {
            std::fprintf(stderr, "Lilywade: cannot load %s/%s (%s).\n",
                         platform::programFolder().c_str(), WidgetModuleFile, error.c_str());
            return static_cast<const WidgetModule*>(nullptr);
        }
        return entry();
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
