// The widget module's entry: the two widget windows and the application
// object they need, behind the table that WidgetModule.h describes.
#include "preview/FrmPrev.h"
#include "settings/FrogSet.h"
#include "startup/WidgetModule.h"

#include <QApplication>

namespace {

std::unique_ptr<QGuiApplication> createApplication(int& argc, char** argv)
{
    return std::make_unique<QApplication>(argc, argv);
}

void showSettingsModal(platform::Platform& platform)
{
    FrogSet dialog(platform);
    dialog.exec();
}

std::unique_ptr<QObject> loadPreview(platform::Platform& platform, const QImage& still)
{
    auto preview = std::make_unique<FrmPrev>(platform, still);
    // The preview window is the program's only one: its unload ends the
    // program. exit(), not quit(): quit() first asks every window to close,
    // which has been seen to hang with a window living in a foreign one.
    QObject::connect(preview.get(), &FrmPrev::unloaded, [] { QCoreApplication::exit(0); });
    preview->Form_Load();
    return preview;
}

constexpr WidgetModule Module{createApplication, showSettingsModal, loadPreview};

} // namespace

extern "C" __attribute__((visibility("default"))) const WidgetModule* lilywade_widget_module()
{
    return &Module;
}
