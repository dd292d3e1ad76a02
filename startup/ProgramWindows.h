#pragma once
// The program's real windows behind Main's ModeWindows.

#include "sprites/SpriteSet.h"
#include "startup/Main.h"

#include <memory>

class QObject;

class ProgramWindows : public ModeWindows {
public:
    explicit ProgramWindows(platform::Platform& platform);
    ~ProgramWindows() override;

    void showSaver() override;
    void showSettingsModal() override;
    void loadPreview() override;

private:
    platform::Platform& platform_;
    SpriteSet sprites_;               // the saver's, at the desktop's scale
    std::unique_ptr<QObject> window_; // the modeless window that runs the program
};
