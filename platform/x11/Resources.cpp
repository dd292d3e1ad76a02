// The X resource database: the text xrdb keeps in the root window's
// RESOURCE_MANAGER property, which desktops fill with their settings.
#include "platform/x11/Resources.h"
#include "platform/ResourceText.h"
#include "platform/x11/X11Platform.h"
#include "platform/x11/XConnection.h"
#include "platform/x11/XReply.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace platform::x11 {

namespace {

/** How closely a resource name fits Xft's dpi, 0 when it does not. */
int dpiCloseness(std::string_view name)
{
    static constexpr std::array<std::string_view, 3> Fits = {"*dpi", "Xft*dpi", "Xft.dpi"};
    const auto fit = std::ranges::find(Fits, name);
    return fit == Fits.end() ? 0 : int(fit - Fits.begin()) + 1;
}

int scaleForDpi(std::string_view value)
{
    value = trimmedResource(value);
    double dpi = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), dpi);
    if (error != std::errc() || end != value.data() + value.size() || !(dpi > 0) || dpi > 96e3)
        return 1;
    return std::max(1, int(std::lround(dpi / 96)));
}

} // namespace

int desktopScaleOf(std::string_view resources)
{
    const ResourceText text(resources); // what dpi points into
    const auto dpi = text.closest(dpiCloseness);
    return dpi ? scaleForDpi(*dpi) : 1;
}

int X11Platform::desktopScale()
{
    return desktopScaleOf(resourceDatabase());
}

std::string X11Platform::resourceDatabase()
{
    xcb_connection_t* c = xcbConnection();
    const xcb_window_t root = x11::rootWindow();
    if (!c || root == 0)
        return {};
    // Read in one request: a database of many megabytes is no database of a desktop.
    constexpr std::uint32_t MaxLongs = 4 << 20;
    const auto property = replyOf(c,
                                  xcb_get_property(c, 0, root, XCB_ATOM_RESOURCE_MANAGER,
                                                   XCB_ATOM_STRING, 0, MaxLongs),
                                  xcb_get_property_reply);
    if (!property || property->format != 8)
        return {};
    const auto* text = static_cast<const char*>(xcb_get_property_value(property.get()));
    return std::string(text, std::size_t(xcb_get_property_value_length(property.get())));
}

} // namespace platform::x11
