#pragma once
// The entry procedure: scale, settings, then one window chosen by the mode
// argument.

#include "platform/Platform.h"

/** The three windows Main can open; the program's real windows or a test's record. */
class ModeWindows {
public:
    virtual ~ModeWindows() = default;
    /** Shows the saver window frog1 modelessly; its load has run on return. */
    virtual void showSaver() = 0;
    /** Shows the settings dialog FrogSet modally, with no owner; returns once it is unloaded. */
    virtual void showSettingsModal() = 0;
    /** Loads the preview window FrmPrev without showing it. */
    virtual void loadPreview() = 0;
};

/** Runs start-up. True when a modeless window now runs the program (saver or
 *  preview), false when the program ends as Main returns. */
bool Main(platform::Platform& platform, ModeWindows& windows);

/** The mode letters: the first two characters of the argument text, upper-cased. */
std::string modeText(const std::string& argumentText);
