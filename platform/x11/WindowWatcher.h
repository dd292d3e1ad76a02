#pragma once
// Watches one window through the toolkit's own X connection: its size, its
// end, and, for the root window, its children: a window kept on top is raised
// again whenever another child is mapped or restacked.

#include <QAbstractNativeEventFilter>
#include <QSize>
#include <functional>
#include <xcb/xcb.h>

namespace platform::x11 {

class WindowWatcher : public QAbstractNativeEventFilter {
public:
    /** Starts watching window (any client's) on the toolkit's connection. */
    explicit WindowWatcher(xcb_window_t window);
    ~WindowWatcher() override;
    WindowWatcher(const WindowWatcher&) = delete;
    WindowWatcher& operator=(const WindowWatcher&) = delete;

    /** Raises child now and whenever another child of the watched window may have come above it. */
    void keepOnTop(xcb_window_t child);
    /** Runs handler with the new size whenever the watched window changes size. */
    void onResize(std::function<void(QSize)> handler);
    /** Runs handler once the watched window has been destroyed. */
    void onDestroy(std::function<void()> handler);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    void raiseKeptWindow();
    void configured(const xcb_configure_notify_event_t& event);

    xcb_connection_t* connection_;
    xcb_window_t watched_;
    xcb_window_t kept_ = 0;
    QSize size_;
    std::function<void(QSize)> resized_;
    std::function<void()> destroyed_;
};

/** The size of window as the server has it now; empty when there is no such window. */
QSize windowSize(xcb_connection_t* c, xcb_window_t window);

} // namespace platform::x11
