#include "platform/x11/ConnectionGuard.h"

#include "platform/x11/XConnection.h"
#include "platform/x11/XReply.h"

#include <QByteArray>
#include <cstring>

namespace platform::x11 {

namespace {

constexpr char RandrName[] = "RANDR";

/** True when the server still answers: one round trip. */
bool answers(xcb_connection_t* c)
{
    replyOf(c, xcb_get_input_focus(c), xcb_get_input_focus_reply);
    return xcb_connection_has_error(c) == 0;
}

} // namespace

ConnectionGuard::ConnectionGuard(std::function<void()> lost) : lost_(std::move(lost))
{
    xcb_connection_t* c = xcbConnection();
    if (!c)
        return;
    const auto randr = replyOf(c, xcb_query_extension(c, std::strlen(RandrName), RandrName),
                               xcb_query_extension_reply);
    if (randr && randr->present)
        randrFirstEvent_ = randr->first_event;
    root_ = rootWindow();
}

bool ConnectionGuard::isScreenChange(const xcb_generic_event_t& event) const
{
    const std::uint8_t type = event.response_type & 0x7f;
    if (type == XCB_CONFIGURE_NOTIFY)
        return reinterpret_cast<const xcb_configure_notify_event_t&>(event).window == root_;
    // RRScreenChangeNotify and RRNotify, the first two RandR events.
    return randrFirstEvent_ != 0 && (type == randrFirstEvent_ || type == randrFirstEvent_ + 1);
}

namespace {

/** A top-level window configured, as the root's listeners hear of it. */
bool isTopLevelConfigure(const xcb_generic_event_t& event, xcb_window_t root)
{
    if ((event.response_type & 0x7f) != XCB_CONFIGURE_NOTIFY)
        return false;
    const auto& configure = reinterpret_cast<const xcb_configure_notify_event_t&>(event);
    return configure.event == root && configure.window != root;
}

} // namespace

bool ConnectionGuard::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    xcb_connection_t* c = xcbConnection();
    if (eventType != "xcb_generic_event_t" || !c)
        return false;
    const auto& event = *static_cast<const xcb_generic_event_t*>(message);
    if (xcb_connection_has_error(c) != 0 || (isScreenChange(event) && !answers(c))) {
        lost_();
        return true;
    }
    // Every raise of the saver (and any window's move) reaches the root's
    // listeners; the screens did not change, and the toolkit needs no news
    // of windows that are not its own. The filters installed after this one
    // (the window watchers) have seen it already.
    return isTopLevelConfigure(event, root_);
}

} // namespace platform::x11
