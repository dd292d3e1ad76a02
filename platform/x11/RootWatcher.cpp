#include "platform/x11/RootWatcher.h"
#include "platform/x11/XConnection.h"
#include "platform/x11/XReply.h"

#include <QCoreApplication>

namespace platform {

QSize rootSize(xcb_connection_t* c, xcb_window_t root)
{
    const auto geometry = replyOf(c, xcb_get_geometry(c, root), xcb_get_geometry_reply);
    return geometry ? QSize(geometry->width, geometry->height) : QSize();
}

RootWatcher::RootWatcher() : connection_(xcbConnection()), root_(rootWindow())
{
    if (!connection_ || root_ == 0)
        return;
    size_ = rootSize(connection_, root_);
    // Added to what the toolkit already selects on the root for this client:
    // maps and restacking of the root's children, and the root's own size.
    const auto attributes = replyOf(connection_, xcb_get_window_attributes(connection_, root_),
                                    xcb_get_window_attributes_reply);
    const std::uint32_t mask = (attributes ? attributes->your_event_mask : 0)
        | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection_);
    QCoreApplication::instance()->installNativeEventFilter(this);
}

RootWatcher::~RootWatcher()
{
    if (QCoreApplication* application = QCoreApplication::instance())
        application->removeNativeEventFilter(this);
}

void RootWatcher::keepOnTop(xcb_window_t window)
{
    kept_ = window;
    raiseKeptWindow();
}

void RootWatcher::onResize(std::function<void(QSize)> handler)
{
    resized_ = std::move(handler);
}

bool RootWatcher::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t" || !connection_)
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    switch (event->response_type & 0x7f) {
    case XCB_MAP_NOTIFY: {
        const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(event);
        if (map->event == root_ && map->window != kept_)
            raiseKeptWindow();
        break;
    }
    case XCB_CONFIGURE_NOTIFY:
        rootConfigured(*reinterpret_cast<const xcb_configure_notify_event_t*>(event));
        break;
    case XCB_CIRCULATE_NOTIFY:
        raiseKeptWindow();
        break;
    }
    // The toolkit sees every event too: it has its own use for some of them.
    return false;
}

void RootWatcher::rootConfigured(const xcb_configure_notify_event_t& event)
{
    if (event.window == root_) {
        const QSize size(event.width, event.height);
        if (size == size_)
            return;
        size_ = size;
        if (resized_)
            resized_(size);
        return;
    }
    // Another top-level window moved or changed its place in the stack.
    if (event.event == root_ && event.window != kept_)
        raiseKeptWindow();
}

void RootWatcher::raiseKeptWindow()
{
    if (kept_ == 0)
        return;
    const std::uint32_t above = XCB_STACK_MODE_ABOVE;
    xcb_configure_window(connection_, kept_, XCB_CONFIG_WINDOW_STACK_MODE, &above);
    xcb_flush(connection_);
}

} // namespace platform
