#include "settings/SaverSettings.h"

#include "startup/Globals.h"
#include "startup/NumberReader.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

const std::string App = "Lilywade";

// A stored flag is on only when its text is the number 1; text that is not
// a number reads as off.
std::int16_t readFlag(platform::Platform& platform, const char* key)
{
    const auto value = wholeNumber(platform.rtcGetSetting(App, "startup", key, "0"));
    return value == 1.0 ? -1 : 0;
}

// Speed is kept to what the dialog can show, so that a hand-edited store can
// never turn into a negative or huge pause.
std::int16_t readSpeed(platform::Platform& platform)
{
    const auto value = wholeNumber(platform.rtcGetSetting(App, "startup", "Speed", "0"));
    if (!value || std::isnan(*value))
        return 0;
    return static_cast<std::int16_t>(std::clamp(std::nearbyint(*value), 0.0, double(MaxSpeed)));
}

} // namespace

void LoadSettings(platform::Platform& platform)
{
    SaverSettings.Hole = 0;
    SaverSettings.Streak = 0;
    SaverSettings.Sound = 0;
    SaverSettings.Blank = 0;
    SaverSettings.Hole = readFlag(platform, "hole");
    SaverSettings.Streak = readFlag(platform, "streak");
    SaverSettings.Sound = readFlag(platform, "sound");
    SaverSettings.Blank = readFlag(platform, "Blank");
    SaverSettings.Speed = readSpeed(platform);
}

void SaveSettings(platform::Platform& platform, std::int16_t hole, std::int16_t streak,
                  std::int16_t sound, std::int16_t blank, std::int16_t speed)
{
    platform.rtcSaveSetting(App, "Startup", "Hole", std::to_string(hole));
    platform.rtcSaveSetting(App, "Startup", "Streak", std::to_string(streak));
    platform.rtcSaveSetting(App, "Startup", "Sound", std::to_string(sound));
    platform.rtcSaveSetting(App, "Startup", "blank", std::to_string(blank));
    platform.rtcSaveSetting(App, "Startup", "Speed", std::to_string(speed));
}
