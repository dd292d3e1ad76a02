// The desktop's scale read from the resource database's text, as xrdb keeps it.
#include "platform/x11/Resources.h"

#include <gtest/gtest.h>

namespace platform::x11 {
namespace {

struct DpiCase {
    const char* resources;
    int scale;
};

class DesktopScaleOf : public testing::TestWithParam<DpiCase> {};

TEST_P(DesktopScaleOf, XftDpiOver96)
{
    EXPECT_EQ(desktopScaleOf(GetParam().resources), GetParam().scale) << GetParam().resources;
}

INSTANTIATE_TEST_SUITE_P(X11, DesktopScaleOf, testing::Values(
    DpiCase{"", 1},
    DpiCase{"Xft.antialias:\t1\nXft.dpi:\t192\nXft.hinting:\t1\n", 2},
    DpiCase{"Xft.dpi:\t96\n", 1},
    DpiCase{"Xft.dpi:\t144\n", 2},   // 150 %: to the nearest whole number
    DpiCase{"Xft.dpi:\t120\n", 1},   // 125 %
    DpiCase{"Xft.dpi:\t288.5", 3},   // fractions, and no final newline
    DpiCase{"Xft.dpi:  384  \n", 4},
    DpiCase{"Xft.dpi:\t768\n", 8},   // what the desktop says; the frogs hold it to 4
    DpiCase{"Xft.dpi:\t40\n", 1},
    // Unreadable values count as none.
    DpiCase{"Xft.dpi:\tlarge\n", 1},
    DpiCase{"Xft.dpi:\t-192\n", 1},
    DpiCase{"Xft.dpi:\t192dpi\n", 1},
    DpiCase{"Xft.dpi:\t\n", 1},
    DpiCase{"Xft.dpi:\tnan\n", 1},
    DpiCase{"Xft.dpi:\t1e300\n", 1},
    // Other programs' dpi does not count; the closest name wins, the later among equals.
    DpiCase{"xterm*dpi:\t192\nXft.dpiX:\t192\nXft.Dpi:\t192\n", 1},
    DpiCase{"*dpi:\t192\n", 2},
    DpiCase{"Xft.dpi:\t96\n*dpi:\t192\nXft*dpi:\t288\n", 1},
    DpiCase{"Xft.dpi:\t192\nXft.dpi:\t288\n", 3}));

} // namespace
} // namespace platform::x11
