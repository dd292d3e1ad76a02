#pragma once
// The connection to the Wayland compositor: the globals it offers, and its
// events read and dispatched on Qt's event loop, so that timers, sound and
// input share one loop as they do on X11.

#include "platform/wayland/WlPtr.h"

#include "ext-image-capture-source-v1-client-protocol.h"
#include "ext-image-copy-capture-v1-client-protocol.h"
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#include "wlr-screencopy-unstable-v1-client-protocol.h"
#include "xdg-output-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>
#include <wayland-client.h>

class QSocketNotifier;

namespace platform::wayland {

/** A global the compositor announced. */
struct GlobalInfo {
    std::uint32_t name;
    QString interface;
    std::uint32_t version;
};

/** The globals bound once for the whole connection; null when not offered. */
struct Globals {
    WlPtr<wl_compositor> compositor;
    WlPtr<wl_shm> shm;
    WlPtr<zwlr_layer_shell_v1> layerShell;
    WlPtr<ext_image_copy_capture_manager_v1> imageCopyCapture;
    WlPtr<ext_output_image_capture_source_manager_v1> outputCaptureSources;
    WlPtr<zwlr_screencopy_manager_v1> screencopy; // only where the two above are missing
    WlPtr<zxdg_output_manager_v1> xdgOutputManager;
    WlPtr<xdg_wm_base> wmBase;
};

/** The display connection, its registry and its globals. Callbacks run while
 *  events are dispatched; none of them may destroy the connection. */
class Connection {
public:
    /** Connects to the compositor of WAYLAND_DISPLAY; null, with error set, when none answers. */
    static std::unique_ptr<Connection> open(QString& error);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    /** Runs for each output and seat global, those there at the start and those added later. */
    std::function<void(std::uint32_t name, std::uint32_t version)> outputAdded, seatAdded;
    /** Runs when a global (an output or a seat) goes. */
    std::function<void(std::uint32_t name)> globalRemoved;
    /** Runs once when the compositor goes away or reports a protocol error. */
    std::function<void(const QString& why)> lost;

    /** Learns and binds the globals (one round trip); false when the compositor
     *  did not answer in time or the connection failed. wlr-screencopy is bound
     *  only where the image copy capture protocols are missing. */
    bool bindGlobals(int timeoutMs);
    /** From now on, events are read and dispatched on Qt's event loop. */
    void startReading();
    /** Dispatches events until done() holds; false after timeoutMs or when the
     *  connection is lost. For the start, before Qt's event loop runs. */
    bool waitUntil(const std::function<bool()>& done, int timeoutMs);
    /** Waits until the compositor has handled every request sent so far. */
    bool roundtrip(int timeoutMs);
    /** Dispatches queued events and sends pending requests (the event loop does
     *  it before it sleeps, so callers need not). */
    void flush();
    /** Sends pending requests now, dispatching nothing. */
    void send();

    wl_display* display() const { return display_.get(); }
    wl_registry* registry() const { return registry_.get(); }
    const Globals& globals() const { return globals_; }
    /** Every global announced so far, in the order announced. */
    const std::vector<GlobalInfo>& offered() const { return offered_; }
    bool isLost() const { return lost_; }

    void onGlobal(std::uint32_t name, const char* interface, std::uint32_t version);
    void onGlobalRemove(std::uint32_t name);

private:
    explicit Connection(wl_display* display);
    void readEvents();
    bool dispatchPending();
    void fail();

    WlPtr<wl_display> display_;
    WlPtr<wl_registry> registry_;
    Globals globals_;
    std::vector<GlobalInfo> offered_;
    std::optional<GlobalInfo> screencopyOffered_; // bound once the others are known
    std::unique_ptr<QSocketNotifier> readNotifier_;
    std::unique_ptr<QSocketNotifier> writeNotifier_;
    bool lost_ = false;
};

} // namespace platform::wayland
