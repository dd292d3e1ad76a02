// The settings store operations, over the per-user INI file.
#include "platform/x11/X11Platform.h"

namespace platform {

std::string X11Platform::rtcGetSetting(const std::string& app, const std::string& section,
                                       const std::string& key, const std::string& fallback)
{
    return store_.read(app, section, key, fallback);
}

void X11Platform::rtcSaveSetting(const std::string& app, const std::string& section,
                                 const std::string& key, const std::string& value)
{
    store_.write(app, section, key, value);
}

} // namespace platform
