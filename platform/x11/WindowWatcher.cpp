#include "platform/x11/WindowWatcher.h"
#include "platform/x11/XConnection.h"
#include "platform/x11/XReply.h"

#include <QCoreApplication>

namespace platform::x11 {

QSize windowSize(xcb_connection_t* c, xcb_window_t window)
{
    const auto geometry = replyOf(c, xcb_get_geometry(c, window), xcb_get_geometry_reply);
    return geometry ? QSize(geometry->width, geometry->height) : QSize();
}

WindowWatcher::WindowWatcher(xcb_window_t window) : connection_(xcbConnection()), watched_(window)
{
    if (!connection_ || watched_ == 0)
        return;
    // Added to what this client already selects on the window (the toolkit
    // does on the root): its size and end, and maps and restacking of its
    // children. A window that is gone by now answers with an error, dropped.
    const auto attributes = replyOf(connection_, xcb_get_window_attributes(connection_, watched_),
                                    xcb_get_window_attributes_reply);
    const std::uint32_t mask = (attributes ? attributes->your_event_mask : 0)
        | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    errorOf(connection_, xcb_change_window_attributes_checked(connection_, watched_,
                                                              XCB_CW_EVENT_MASK, &mask));
    size_ = windowSize(connection_, watched_);
    QCoreApplication::instance()->installNativeEventFilter(this);
}

WindowWatcher::~WindowWatcher()
{
    if (QCoreApplication* application = QCoreApplication::instance())
        application->removeNativeEventFilter(this);
}

void WindowWatcher::keepOnTop(xcb_window_t child)
{
    kept_ = child;
    raiseKeptWindow();
}

void WindowWatcher::onResize(std::function<void(QSize)> handler)
{
    resized_ = std::move(handler);
}

void WindowWatcher::onDestroy(std::function<void()> handler)
{
    destroyed_ = std::move(handler);
}

bool WindowWatcher::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t" || !connection_)
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    switch (event->response_type & 0x7f) {
    case XCB_MAP_NOTIFY: {
        const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(event);
        if (map->event == watched_ && map->window != kept_)
            raiseKeptWindow();
        break;
    }
    case XCB_CONFIGURE_NOTIFY:
        configured(*reinterpret_cast<const xcb_configure_notify_event_t*>(event));
        break;
    case XCB_CIRCULATE_NOTIFY:
        raiseKeptWindow();
        break;
    case XCB_DESTROY_NOTIFY:
        if (reinterpret_cast<const xcb_destroy_notify_event_t*>(event)->window == watched_
            && destroyed_)
            destroyed_();
        break;
    }
    // The toolkit sees every event too: it has its own use for some of them.
    return false;
}

void WindowWatcher::configured(const xcb_configure_notify_event_t& event)
{
    if (event.window == watched_) {
        const QSize size(event.width, event.height);
        if (size == size_)
            return;
        size_ = size;
        if (resized_)
            resized_(size);
        return;
    }
    // Another child moved or changed its place in the stack.
    if (event.event == watched_ && event.window != kept_)
        raiseKeptWindow();
}

void WindowWatcher::raiseKeptWindow()
{
    if (kept_ == 0)
        return;
    const std::uint32_t above = XCB_STACK_MODE_ABOVE;
    xcb_configure_window(connection_, kept_, XCB_CONFIG_WINDOW_STACK_MODE, &above);
    xcb_flush(connection_);
}

} // namespace platform::x11
