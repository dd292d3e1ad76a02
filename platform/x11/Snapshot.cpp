// The display device context: a 1:1 copy of the whole screen.
#include "platform/x11/ScreenGrab.h"
#include "platform/x11/X11Platform.h"

#include <cstring>

namespace platform {

std::unique_ptr<DeviceContext> X11Platform::CreateDCA(const char* driver, const char*, const char*,
                                                      const void*)
{
    if (driver == nullptr || std::strcmp(driver, "DISPLAY") != 0)
        return nullptr;
    QImage copy = grabRootWindow();
    if (copy.isNull())
        return nullptr;
    return std::make_unique<DeviceContext>(std::move(copy));
}

bool X11Platform::DeleteDC(std::unique_ptr<DeviceContext> dc)
{
    return dc != nullptr;
}

} // namespace platform
