#pragma once
// The settings dialog and the preview are widget windows. They and Qt's
// widget library live in a module beside the program (lilywade-widgets.so)
// that only those modes load, so that the saver starts without the widget
// library: a few milliseconds sooner and 2.6 MB smaller.

#include "platform/Platform.h"

#include <QGuiApplication>
#include <memory>
#include <string>

class QImage;

/** What the module offers; its one exported function returns it. */
struct WidgetModule {
    /** A QApplication, which widget windows need; made before any of them. */
    std::unique_ptr<QGuiApplication> (*createApplication)(int& argc, char** argv);
    /** Shows FrogSet modally with no owner; returns once it is unloaded. */
    void (*showSettingsModal)(platform::Platform& platform);
    /** Loads FrmPrev, not shown, with the preview still; its unload ends the program. */
    std::unique_ptr<QObject> (*loadPreview)(platform::Platform& platform, const QImage& still);
};

inline constexpr const char* WidgetModuleFile = "lilywade-widgets.so";
inline constexpr const char* WidgetModuleEntry = "lilywade_widget_module";

/** The module, loaded from the program's folder at the first call; null, said
 *  once on stderr, when it cannot be loaded. */
const WidgetModule* widgetModule();

/** The application object for the command line: a plain QGuiApplication for
 *  the saver ("/S"), the module's QApplication for every other argument text
 *  (Main then dispatches it, and may need widgets). Null without the module. */
std::unique_ptr<QGuiApplication> createApplication(int& argc, char** argv);
