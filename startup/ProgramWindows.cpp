#include "startup/ProgramWindows.h"

#include "preview/FrmPrev.h"
#include "saver/frog1.h"
#include "settings/FrogSet.h"
#include "sprites/FrogScale.h"
#include "sprites/SpriteSet.h"

#include <QCoreApplication>

ProgramWindows::ProgramWindows(platform::Platform& platform) : platform_(platform) {}

ProgramWindows::~ProgramWindows() = default;

void ProgramWindows::showSaver()
{
    // The display (the X server, or the compositor's screen copy) copies the
    // screen while the frogs and the window are being made.
    platform_.prepareScreenCopy();
    sprites_ = scaledSprites(loadSprites(), screenFrogScale(platform_.desktopScale()));
    auto saver = std::make_unique<frog1>(platform_, sprites_);
    // Nothing may come above the saver, from before it is shown on.
    platform_.keepOnTop(*saver);
    saver->show();
    // Input must reach the saver whatever had the focus.
    platform_.grabInput(*saver);
    window_ = std::move(saver);
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
