// The display device context: a 1:1 copy of the whole screen.
#include "platform/x11/ScreenGrab.h"
#include "platform/x11/X11Platform.h"

#include <cstring>
#include <utility>

namespace platform {

void X11Platform::prepareScreenCopy()
{
    screenRead_ = PendingScreenRead::begin();
}

std::unique_ptr<DeviceContext> X11Platform::CreateDCA(const char* driver)
{
    if (driver == nullptr || std::strcmp(driver, "DISPLAY") != 0)
        return nullptr;
    QImage copy;
    if (screenRead_)
        copy = std::exchange(screenRead_, nullptr)->finish();
    if (copy.isNull())
        copy = grabRootWindow();
    if (copy.isNull())
        return nullptr;
    return std::make_unique<DeviceContext>(std::move(copy));
}

void X11Platform::DeleteDC(std::unique_ptr<DeviceContext>) {}

QImage X11Platform::hostScreenshot(WindowId window)
{
    return readHostScreenshot(window);
}

} // namespace platform
