#pragma once
// How many screen pixels a frog pixel takes: the desktop's scale on a screen,
// and a share of it in a host's preview that shows the screen in miniature.

#include <QSize>

/** The largest frog scale: at 4 a frog already covers 380 x 380 pixels. */
inline constexpr int MaxFrogScale = 4;

/** A desktop's scale as the frogs take it: a whole number from 1 to 4. */
int screenFrogScale(int desktopScale);

/** The frog scale in a host's window of a size on a screen of a size, at the
 *  screen's frog scale: a window smaller than half the screen each way is a
 *  preview of the whole screen, where the frogs take their share of it (the
 *  screen's scale times the window's width over the screen's); in any bigger
 *  window they are as big as on the screen. */
double windowFrogScale(int screenScale, QSize window, QSize screen);
