// The X resource database: the text xrdb keeps in the root window's
// RESOURCE_MANAGER property, which desktops fill with their settings.
#include "platform/x11/X11Platform.h"
#include "platform/x11/XConnection.h"
#include "platform/x11/XReply.h"

namespace platform {

std::string X11Platform::resourceDatabase()
{
    xcb_connection_t* c = xcbConnection();
    const xcb_window_t root = platform::rootWindow();
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

} // namespace platform
