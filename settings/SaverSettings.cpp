#include "settings/SaverSettings.h"

#include "settings/SettingsTable.h"
#include "startup/Globals.h"
#include "startup/NumberReader.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

const std::string App = "Lilywade";

// A stored flag is on only when its text is the number 1; text that is not
// a number reads as off.
std::int16_t flagFrom(const std::string& text)
{
    const auto value = wholeNumber(text);
    return value == 1.0 ? -1 : 0;
}

// Speed is kept to what the dialog can show.
std::int16_t speedFrom(const std::string& text)
{
    const auto value = wholeNumber(text);
    return value ? clampedSpeed(std::nearbyint(*value)) : 0;
}

std::string storedText(const StoredSetting& setting, std::int16_t value)
{
    return std::to_string(setting.isFlag() ? int(value != 0) : int(value));
}

} // namespace

void LoadSettings(platform::Platform& platform)
{
    for (const StoredSetting& setting : StoredSettings) {
        const std::string text = platform.rtcGetSetting(App, ReadSection, setting.readKey, "0");
        SaverSettings.*setting.field = setting.isFlag() ? flagFrom(text) : speedFrom(text);
    }
}

std::int16_t clampedSpeed(double speed)
{
    if (std::isnan(speed))
        return 0;
    return static_cast<std::int16_t>(std::clamp(speed, 0.0, double(MaxSpeed)));
}

void SaveSettings(platform::Platform& platform, const SaverSettingsRecord& settings)
{
    for (const StoredSetting& setting : StoredSettings)
        platform.rtcSaveSetting(App, WriteSection, setting.writeKey,
                                storedText(setting, settings.*setting.field));
}
