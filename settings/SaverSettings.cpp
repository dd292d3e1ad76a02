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

// Speed is kept to what the dialog can show, so that a hand-edited store can
// never turn into a negative or huge pause.
std::int16_t speedFrom(const std::string& text)
{
    const auto value = wholeNumber(text);
    if (!value || std::isnan(*value))
        return 0;
    return static_cast<std::int16_t>(std::clamp(std::nearbyint(*value), 0.0, double(MaxSpeed)));
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

void SaveSettings(platform::Platform& platform, const SaverSettingsRecord& settings)
{
    for (const StoredSetting& setting : StoredSettings)
        platform.rtcSaveSetting(App, WriteSection, setting.writeKey,
                                storedText(setting, settings.*setting.field));
}
