#include "platform/wayland/ImageCopyCapture.h"

#include <gtest/gtest.h>

namespace {

using platform::wayland::chooseShmFormat;

TEST(ChooseShmFormat, TakesAFormatTheFrameReaderKnowsPreferringNoSwap)
{
    struct Case {
        std::vector<std::uint32_t> offered;
        std::optional<std::uint32_t> chosen;
    } cases[] = {
        // A compositor's order says nothing: xrgb needs no red-blue swap.
        {{WL_SHM_FORMAT_ABGR8888, WL_SHM_FORMAT_XBGR8888, WL_SHM_FORMAT_XRGB8888}, WL_SHM_FORMAT_XRGB8888},
        {{WL_SHM_FORMAT_ABGR8888, WL_SHM_FORMAT_ARGB8888}, WL_SHM_FORMAT_ARGB8888},
        {{WL_SHM_FORMAT_RGB565, WL_SHM_FORMAT_XBGR8888}, WL_SHM_FORMAT_XBGR8888},
        {{WL_SHM_FORMAT_ABGR8888}, WL_SHM_FORMAT_ABGR8888},
        // Ten bits per channel or 16-bit pixels: nothing to copy into.
        {{WL_SHM_FORMAT_RGB565, WL_SHM_FORMAT_XRGB2101010}, std::nullopt},
        {{}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.offered.size());
        EXPECT_EQ(chooseShmFormat(c.offered), c.chosen);
    }
}

} // namespace
