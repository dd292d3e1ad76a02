#include "startup/ProgramWindows.h"

#include "preview/FrmPrev.h"
#include "settings/FrogSet.h"
#include "sprites/SpriteSet.h"

#include <QCoreApplication>
#include <QWidget>

ProgramWindows::ProgramWindows(platform::Platform& platform) : platform_(platform) {}

ProgramWindows::~ProgramWindows() = default;

void ProgramWindows::showSaver()
{
    // FIXME: placeholder until the saver window exists.
    window_ = std::make_unique<QWidget>();
    window_->setWindowTitle(QStringLiteral("frog"));
    window_->show();
}

void ProgramWindows::showSettingsModal()
{
    FrogSet dialog(platform_);
    dialog.exec();
}

void ProgramWindows::loadPreview()
{
    auto preview = std::make_unique<FrmPrev>(platform_, loadSprites().preview);
    // The preview window is the program's only one: its unload ends the
    // program. exit(), not quit(): quit() first asks every window to close,
    // which has been seen to hang with a window living in a foreign one.
    QObject::connect(preview.get(), &FrmPrev::unloaded, [] { QCoreApplication::exit(0); });
    preview->Form_Load();
    window_ = std::move(preview);
}
