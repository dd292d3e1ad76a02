// The settings store operations, over the per-user INI file.
#include "platform/linux/LinuxPlatform.h"

namespace platform {

std::string LinuxPlatform::rtcGetSetting(const std::string& app, const std::string& section,
                                       const std::string& key, const std::string& fallback)
{
    return store_.read(app, section, key, fallback);
}

void LinuxPlatform::rtcSaveSetting(const std::string& app, const std::string& section,
                                 const std::string& key, const std::string& value)
{
    store_.write(app, section, key, value);
}

} // namespace platform
