#include "startup/ProgramWindows.h"

#include "settings/FrogSet.h"

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
    // FIXME: placeholder until the preview window exists.
    window_ = std::make_unique<QWidget>();
    window_->setWindowTitle(QStringLiteral("Preview"));
    window_->show();
}
