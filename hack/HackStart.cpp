#include "hack/HackStart.h"

#include "sprites/FrogScale.h"
#include "startup/Globals.h"

SaverSettingsRecord hackSettings(platform::Platform& platform, const HackOptions& options)
{
    // XScreenSaver's settings application writes the whole command line from
    // what its dialog shows: then nothing stored elsewhere may change it.
    if (options.noStoredSettings)
        return withHackOptions(SaverSettingsRecord{}, options);
    LoadSettings(platform);
    return withHackOptions(SaverSettings, options);
}

std::optional<platform::WindowId> targetWindow(const HackOptions& options,
                                               const std::optional<std::string>& hostWindow,
                                               platform::WindowId root)
{
    if (options.windowId)
        return *options.windowId;
    if (hostWindow)
        return parseWindowId(*hostWindow);
    return options.root ? root : 0;
}

double hackFrogScale(platform::Platform& platform, const HackOptions& options,
                     platform::WindowId host, QSize size)
{
    const int screenScale = options.scale.value_or(screenFrogScale(platform.desktopScale()));
    // A window of its own is for trying the frogs at their size on this
    // desktop, however small it is.
    if (!host)
        return screenScale;
    return windowFrogScale(screenScale, size, platform.screenPixels());
}
