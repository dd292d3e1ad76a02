#pragma once
// What the program reads from the X resource database's text.

#include <string_view>

namespace platform::x11 {

/** The desktop's scale from its Xft.dpi (as GNOME, Xfce, MATE and Cinnamon
 *  set it: 192 at 200 %): dpi / 96 to the nearest whole number, at least 1;
 *  1 without a readable Xft.dpi. The closest of "Xft.dpi", "Xft*dpi" and
 *  "*dpi" decides, the last line among equals. */
int desktopScaleOf(std::string_view resources);

} // namespace platform::x11
