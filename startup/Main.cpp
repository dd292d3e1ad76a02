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
    // A saver window already up, or one starting at this very moment: leave
    // it alone and end quietly.
    if (platform.FindWindowA(nullptr, "frog") != 0 || !platform.claimSaverInstance())
        return false;
    HideCursor(platform);
    windows.showSaver();
    return true;
}

bool runPreview(ModeWindows& windows, const std::string& argumentText)
{
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
        return runPreview(windows, argumentText);
    return false;
}
