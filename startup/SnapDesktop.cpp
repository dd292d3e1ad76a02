#include "startup/SnapDesktop.h"

#include "platform/BitBlt.h"

#include <cmath>

void SnapDesktop(platform::Platform& platform, QImage& image)
{
    std::unique_ptr<platform::DeviceContext> display = platform.CreateDCA("DISPLAY");
    // The screen's extents in twips are larger than both surfaces; the
    // transfer is clipped to them, which gives a 1:1 copy of the screen.
    const QSize screen = platform.screenPixels();
    const int width = int(std::lround(screen.width() * platform.twipsPerPixelX()));
    const int height = int(std::lround(screen.height() * platform.twipsPerPixelY()));
    const bool wholeImage = display && display->size() == image.size()
        && display->format() == image.format() && width >= image.width() && height >= image.height();
    if (wholeImage)
        // A copy that would cover the image exactly is the image: take its
        // pixels over instead of copying them into a second screen-sized buffer.
        image.swap(*display);
    else {
        image.fill(Qt::black);
        if (display)
            platform::BitBlt(image, 0, 0, width, height, *display, 0, 0, platform::SRCCOPY);
    }
    platform.DeleteDC(std::move(display));
}
