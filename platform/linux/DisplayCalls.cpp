// The display calls that both displays answer alike, each backend adding only
// its own part: the cursor count, the screen copy's driver name, and the end
// when the display goes.
#include "platform/linux/LinuxPlatform.h"

#include <cstdio>
#include <cstring>

namespace platform {

std::int32_t LinuxPlatform::ShowCursor(std::int32_t show)
{
    const bool wasHidden = cursorCount_ < 0;
    cursorCount_ += show ? 1 : -1;
    const bool hidden = cursorCount_ < 0;
    if (hidden != wasHidden)
        blankCursor(hidden);
    return cursorCount_;
}

std::unique_ptr<DeviceContext> LinuxPlatform::CreateDCA(const char* driver)
{
    // Only the display's own context exists: a copy of the whole screen.
    if (driver == nullptr || std::strcmp(driver, "DISPLAY") != 0)
        return nullptr;
    QImage copy = copyWholeScreen();
    if (copy.isNull())
        return nullptr;
    return std::make_unique<DeviceContext>(std::move(copy));
}

void LinuxPlatform::DeleteDC(std::unique_ptr<DeviceContext>) {}

void LinuxPlatform::endForLostDisplay(const QString& why)
{
    // As when the toolkit finds its connection broken: status 1, no core dump.
    std::fprintf(stderr, "Lilywade: %s\n", qPrintable(why));
    LinuxPlatform::endProcess(1); // not virtual: never returns
}

} // namespace platform
