// Fuzzes the argument text through mode dispatch and the number reader.
#include "platform/fake/FakePlatform.h"
#include "settings/SaverSettings.h"
#include "startup/Globals.h"
#include "startup/Main.h"
#include "startup/NumberReader.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace {

struct CountingWindows : ModeWindows {
    int opened = 0;
    void showSaver() override { ++opened; }
    void showSettingsModal() override { ++opened; }
    void loadPreview() override { ++opened; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);

    const double value = rtcR8ValFromBstr(text);
    const std::int32_t id = toInt32OrZero(value);
    if (!std::isfinite(value) && id != 0)
        std::abort();

    platform::FakePlatform fake;
    fake.commandText = text;
    CountingWindows windows;
    Main(fake, windows);
    if (windows.opened > 1)
        std::abort(); // exactly one window at most
    if (SaverSettings.Speed < 0 || SaverSettings.Speed > MaxSpeed)
        std::abort();
    return 0;
}
