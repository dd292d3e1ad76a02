#include "platform/wayland/Connection.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <poll.h>

namespace platform::wayland {

namespace {

void registryGlobal(void* data, wl_registry*, std::uint32_t name, const char* interface,
                    std::uint32_t version)
{
    static_cast<Connection*>(data)->onGlobal(name, interface, version);
}
void registryGlobalRemove(void* data, wl_registry*, std::uint32_t name)
{
    static_cast<Connection*>(data)->onGlobalRemove(name);
}
const wl_registry_listener registryListener = {registryGlobal, registryGlobalRemove};

// A window manager that gets no answer to its ping may take our windows for hung.
void wmBasePing(void*, xdg_wm_base* base, std::uint32_t serial) { xdg_wm_base_pong(base, serial); }
const xdg_wm_base_listener wmBaseListener = {wmBasePing};

void syncDone(void* data, wl_callback*, std::uint32_t) { *static_cast<bool*>(data) = true; }
const wl_callback_listener syncListener = {syncDone};

template <typename T>
T* bindGlobal(wl_registry* registry, std::uint32_t name, const wl_interface* interface,
              std::uint32_t offered, std::uint32_t wanted)
{
    return static_cast<T*>(wl_registry_bind(registry, name, interface, std::min(offered, wanted)));
}

int remainingMs(std::chrono::steady_clock::time_point deadline)
{
    using namespace std::chrono;
    return int(std::max<long long>(0, duration_cast<milliseconds>(deadline - steady_clock::now()).count()));
}

} // namespace

std::unique_ptr<Connection> Connection::open(QString& error)
{
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        error = QStringLiteral("no Wayland compositor: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return nullptr;
    }
    return std::unique_ptr<Connection>(new Connection(display));
}

Connection::Connection(wl_display* display)
    : display_(display), registry_(wl_display_get_registry(display))
{
    wl_registry_add_listener(registry_.get(), &registryListener, this);
}

Connection::~Connection() = default;

bool Connection::bindGlobals(int timeoutMs)
{
    if (!roundtrip(timeoutMs))
        return false;
    // wlroots deprecates its own screen copy for the standard one; bound
    // beside it, the older one would only be a second way nobody takes.
    const bool standardCopy = globals_.imageCopyCapture && globals_.outputCaptureSources;
    if (screencopyOffered_ && !standardCopy)
        globals_.screencopy.reset(bindGlobal<zwlr_screencopy_manager_v1>(
            registry_.get(), screencopyOffered_->name, &zwlr_screencopy_manager_v1_interface,
            screencopyOffered_->version, 1));
    return true;
}

void Connection::onGlobal(std::uint32_t name, const char* interface, std::uint32_t version)
{
    offered_.push_back({name, QString::fromUtf8(interface), version});
    const std::string_view is = interface;
    wl_registry* r = registry_.get();
    // Each version is the highest whose events this code handles.
    if (is == wl_compositor_interface.name)
        globals_.compositor.reset(bindGlobal<wl_compositor>(r, name, &wl_compositor_interface, version, 4));
    else if (is == wl_shm_interface.name)
        globals_.shm.reset(bindGlobal<wl_shm>(r, name, &wl_shm_interface, version, 1));
    else if (is == zwlr_layer_shell_v1_interface.name)
        globals_.layerShell.reset(
            bindGlobal<zwlr_layer_shell_v1>(r, name, &zwlr_layer_shell_v1_interface, version, 3));
    else if (is == ext_image_copy_capture_manager_v1_interface.name)
        globals_.imageCopyCapture.reset(bindGlobal<ext_image_copy_capture_manager_v1>(
            r, name, &ext_image_copy_capture_manager_v1_interface, version, 1));
    else if (is == ext_output_image_capture_source_manager_v1_interface.name)
        globals_.outputCaptureSources.reset(bindGlobal<ext_output_image_capture_source_manager_v1>(
            r, name, &ext_output_image_capture_source_manager_v1_interface, version, 1));
    else if (is == zwlr_screencopy_manager_v1_interface.name)
        screencopyOffered_ = offered_.back();
    else if (is == zxdg_output_manager_v1_interface.name)
        globals_.xdgOutputManager.reset(
            bindGlobal<zxdg_output_manager_v1>(r, name, &zxdg_output_manager_v1_interface, version, 3));
    else if (is == xdg_wm_base_interface.name) {
        globals_.wmBase.reset(bindGlobal<xdg_wm_base>(r, name, &xdg_wm_base_interface, version, 1));
        xdg_wm_base_add_listener(globals_.wmBase.get(), &wmBaseListener, nullptr);
    } else if (is == wl_output_interface.name && outputAdded)
        outputAdded(name, version);
    else if (is == wl_seat_interface.name && seatAdded)
        seatAdded(name, version);
}

void Connection::onGlobalRemove(std::uint32_t name)
{
    std::erase_if(offered_, [name](const GlobalInfo& global) { return global.name == name; });
    if (globalRemoved)
        globalRemoved(name);
}

void Connection::startReading()
{
    const int fd = wl_display_get_fd(display_.get());
    readNotifier_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    QObject::connect(readNotifier_.get(), &QSocketNotifier::activated, [this] { readEvents(); });
    // Only needed while the socket's buffer is full.
    writeNotifier_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Write);
    writeNotifier_->setEnabled(false);
    QObject::connect(writeNotifier_.get(), &QSocketNotifier::activated, [this] { flush(); });
    // Requests made from timers and Qt's handlers go out before the loop sleeps.
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock,
                     readNotifier_.get(), [this] { flush(); });
    flush();
}

void Connection::readEvents()
{
    if (lost_)
        return;
    // A failed prepare means events are queued already: dispatching them comes first.
    if (wl_display_prepare_read(display_.get()) == 0 && wl_display_read_events(display_.get()) < 0)
        return fail();
    flush();
}

void Connection::flush()
{
    if (!lost_ && dispatchPending())
        send();
}

void Connection::send()
{
    if (lost_)
        return;
    if (wl_display_flush(display_.get()) >= 0) {
        if (writeNotifier_)
            writeNotifier_->setEnabled(false);
    } else if (errno == EAGAIN) {
        if (writeNotifier_)
            writeNotifier_->setEnabled(true);
    } else {
        fail();
    }
}

bool Connection::dispatchPending()
{
    if (wl_display_dispatch_pending(display_.get()) >= 0)
        return true;
    fail();
    return false;
}

bool Connection::waitUntil(const std::function<bool()>& done, int timeoutMs)
{
    wl_display* d = display_.get();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!lost_ && !done()) {
        if (wl_display_prepare_read(d) != 0) {
            if (!dispatchPending())
                return false;
            continue;
        }
        wl_display_flush(d);
        pollfd socket = {wl_display_get_fd(d), POLLIN, 0};
        const int ready = poll(&socket, 1, remainingMs(deadline));
        if (ready <= 0) {
            wl_display_cancel_read(d);
            if (ready < 0 && errno == EINTR)
                continue;
            return false;
        }
        if (wl_display_read_events(d) < 0) {
            fail();
            return false;
        }
        if (!dispatchPending())
            return false;
    }
    return !lost_;
}

bool Connection::roundtrip(int timeoutMs)
{
    bool done = false;
    WlPtr<wl_callback> callback(wl_display_sync(display_.get()));
    wl_callback_add_listener(callback.get(), &syncListener, &done);
    return waitUntil([&done] { return done; }, timeoutMs);
}

void Connection::fail()
{
    if (lost_)
        return;
    lost_ = true;
    if (readNotifier_)
        readNotifier_->setEnabled(false);
    if (writeNotifier_)
        writeNotifier_->setEnabled(false);
    wl_display* d = display_.get();
    const int error = wl_display_get_error(d);
    QString why;
    if (error == EPROTO) {
        const wl_interface* interface = nullptr;
        std::uint32_t id = 0;
        const std::uint32_t code = wl_display_get_protocol_error(d, &interface, &id);
        why = QStringLiteral("protocol error %1 on %2@%3")
                  .arg(code)
                  .arg(interface ? QString::fromUtf8(interface->name) : QStringLiteral("?"))
                  .arg(id);
    } else {
        why = QStringLiteral("connection lost: %1").arg(QString::fromLocal8Bit(std::strerror(error ? error : EPIPE)));
    }
    if (lost)
        lost(why);
}

} // namespace platform::wayland
