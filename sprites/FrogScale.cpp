#include "sprites/FrogScale.h"

#include <algorithm>

int screenFrogScale(int desktopScale)
{
    return std::clamp(desktopScale, 1, MaxFrogScale);
}

double windowFrogScale(int screenScale, QSize window, QSize screen)
{
    const bool preview = window.width() * 2 < screen.width() && window.height() * 2 < screen.height();
    if (!preview || window.isEmpty())
        return screenScale;
    return screenScale * double(window.width()) / screen.width();
}
