#include "startup/ProgramWindows.h"

#include "saver/frog1.h"
#include "sprites/SpriteSet.h"
#include "startup/WidgetModule.h"

ProgramWindows::ProgramWindows(platform::Platform& platform) : platform_(platform) {}

ProgramWindows::~ProgramWindows() = default;

void ProgramWindows::showSaver()
{
    // The X server copies the screen while the frogs and the window are being made.
    platform_.prepareScreenCopy();
    auto saver = std::make_unique<frog1>(platform_, loadSprites());
    saver->show();
    // Input must reach the saver whatever had the focus.
    platform_.grabInput(*saver);
    window_ = std::move(saver);
}

void ProgramWindows::showSettingsModal()
{
    if (const WidgetModule* module = widgetModule())
        module->showSettingsModal(platform_);
}

void ProgramWindows::loadPreview()
{
    if (const WidgetModule* module = widgetModule())
        window_ = module->loadPreview(platform_, loadSprites().preview);
}
