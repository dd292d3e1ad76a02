#include "startup/Main.h"

#include "settings/SaverSettings.h"
#include "startup/Cursor.h"
#include "startup/Globals.h"
#include "startup/NumberReader.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace {

std::int16_t twipsToInt16(double twipsPerPixel)
{
    return static_cast<std::int16_t>(std::nearbyint(twipsPerPixel));
}

bool runSaver(platform::Platform& platform, ModeWindows& windows)
{
    // On a screen of palette colours the pictures cannot show: end at once,
    // leaving the screen, the cursor and the keyboard as they are.
    if (!platform.hasTrueColour())
        return false;
    // A saver window already up, or one starting at this very moment: leave
    // it alone and end quietly.
    if (platform.FindWindowA(nullptr, "frog") != 0 || !platform.claimSaverInstance())
        return false;
    HideCursor(platform);
    windows.showSaver();
    return true;
}

bool runPreview(platform::Platform& platform, ModeWindows& windows,
                const std::string& argumentText)
{
    // Nor can the toolkit paint the still there: the host keeps its own picture.
    if (!platform.hasTrueColour())
        return false;
    PreviewParent = toInt32OrZero(rtcR8ValFromBstr(std::string_view(argumentText).substr(2)));
    windows.loadPreview();
    return true;
}

} // namespace

std::string modeText(const std::string& argumentText)
{
    std::string mode = argumentText.substr(0, 2);
    std::transform(mode.begin(), mode.end(), mode.begin(),
                   [](unsigned char c) { return char(std::toupper(c)); });
    return mode;
}

bool Main(platform::Platform& platform, ModeWindows& windows)
{
    UnitsPerPixelX = twipsToInt16(platform.twipsPerPixelX());
    UnitsPerPixelY = twipsToInt16(platform.twipsPerPixelY());
    LoadSettings(platform);

    const std::string argumentText = platform.rtcCommandVar();
    std::string mode = modeText(argumentText);
    if (mode.empty())
        mode = "/C";

    if (mode == "/S")
        return runSaver(platform, windows);
    if (mode == "/C") {
        windows.showSettingsModal();
        return false;
    }
    if (mode == "/P")
        return runPreview(platform, windows, argumentText);
    return false;
}
