// The display device context: a 1:1 copy of the whole screen.
#include "platform/x11/X11Platform.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <cstring>

namespace platform {

std::unique_ptr<DeviceContext> X11Platform::CreateDCA(const char* driver, const char*, const char*,
                                                      const void*)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen || driver == nullptr || std::strcmp(driver, "DISPLAY") != 0)
        return nullptr;
    const QImage copy = screen->grabWindow(0).toImage();
    if (copy.isNull())
        return nullptr;
    return std::make_unique<DeviceContext>(copy.convertToFormat(QImage::Format_RGB32));
}

bool X11Platform::DeleteDC(std::unique_ptr<DeviceContext> dc)
{
    return dc != nullptr;
}

} // namespace platform
