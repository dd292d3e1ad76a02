// The display's copy of the whole screen, 1:1, and the host's copy.
#include "platform/x11/ScreenGrab.h"
#include "platform/x11/X11Platform.h"

#include <utility>

namespace platform::x11 {

void X11Platform::prepareScreenCopy()
{
    screenRead_ = PendingScreenRead::begin();
}

QImage X11Platform::copyWholeScreen()
{
    QImage copy;
    if (screenRead_)
        copy = std::exchange(screenRead_, nullptr)->finish();
    if (copy.isNull())
        copy = grabRootWindow();
    return copy;
}

QImage X11Platform::hostScreenshot(WindowId window)
{
    return readHostScreenshot(window);
}

} // namespace platform::x11
