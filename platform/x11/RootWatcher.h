#pragma once
// Watches the root window's children and size through the toolkit's own X
// connection: a window kept on top is raised again whenever another window is
// mapped or restacked, and a change of the screen's size is passed on.

#include <QAbstractNativeEventFilter>
#include <QSize>
#include <functional>
#include <xcb/xcb.h>

namespace platform {

class RootWatcher : public QAbstractNativeEventFilter {
public:
    /** Starts watching the root window of the toolkit's connection. */
    RootWatcher();
    ~RootWatcher() override;
    RootWatcher(const RootWatcher&) = delete;
    RootWatcher& operator=(const RootWatcher&) = delete;

    /** Raises window now and whenever another window may have come above it. */
    void keepOnTop(xcb_window_t window);
    /** Runs handler with the new size whenever the root window changes size. */
    void onResize(std::function<void(QSize)> handler);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    void raiseKeptWindow();
    void rootConfigured(const xcb_configure_notify_event_t& event);

    xcb_connection_t* connection_;
    xcb_window_t root_;
    xcb_window_t kept_ = 0;
    QSize size_;
    std::function<void(QSize)> resized_;
};

/** The root window's size as the server has it now (it changes with the monitors). */
QSize rootSize(xcb_connection_t* c, xcb_window_t root);

} // namespace platform
