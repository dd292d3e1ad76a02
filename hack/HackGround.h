#pragma once
// What the hack's frogs hop on: the copy of the screen the host left on its
// window, or black. The hack never copies the screen itself: the host's window
// covers it already.

#include "platform/Platform.h"

#include <QImage>

/** The host's copy of the screen fitted to size: 1:1 when it has that size,
 *  else scaled with its proportions kept and centred on black. Black when
 *  blank or when the host left none. */
QImage hackGround(platform::Platform& platform, platform::WindowId host, QSize size, bool blank);

/** copy scaled to fit inside size with its proportions kept, centred, the rest black. */
QImage fittedInto(const QImage& copy, QSize size);
