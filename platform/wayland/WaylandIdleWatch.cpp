#include "platform/wayland/WaylandIdleWatch.h"

#include "platform/wayland/WlPtr.h"

#include "ext-idle-notify-v1-client-protocol.h"
#include "kde-idle-client-protocol.h"

#include <QSocketNotifier>
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <poll.h>
#include <string_view>
#include <vector>
#include <wayland-client.h>

namespace platform::wayland {

namespace {

// The compositor answers the first round trip in milliseconds; one that takes
// this long is hung, and lilywade-idle must not hang with it.
constexpr int answerTimeoutMs = 5000;

class WaylandIdleWatch final : public IdleWatch {
public:
    WaylandIdleWatch(wl_display* display, std::chrono::milliseconds timeout);
    /** Learns the globals and asks for the notification; the error when it cannot. */
    QString start();
    QString source() const override;

    void onGlobal(std::uint32_t name, std::string_view interface, std::uint32_t version);
    void onGlobalRemove(std::uint32_t name);
    void onIdled();
    void onResumed();

private:
    void watchFirstSeat();
    void readEvents();
    void end();

    std::uint32_t timeoutMs_;
    // Declared first, so destroyed last: every object below goes before it.
    WlPtr<wl_display> display_;
    WlPtr<wl_registry> registry_;
    std::uint32_t notifierName_ = 0, kdeIdleName_ = 0;
    WlPtr<ext_idle_notifier_v1> notifier_;
    WlPtr<org_kde_kwin_idle> kdeIdle_;
    std::vector<std::uint32_t> seats_; // their names, in the order announced
    std::uint32_t seatName_ = 0;
    WlPtr<wl_seat> seat_;
    WlPtr<ext_idle_notification_v1> notification_;
    WlPtr<org_kde_kwin_idle_timeout> kdeTimeout_;
    std::unique_ptr<QSocketNotifier> reader_;
    bool started_ = false;
    bool idle_ = false;
    bool ended_ = false;
};

WaylandIdleWatch* watchOf(void* data) { return static_cast<WaylandIdleWatch*>(data); }

void registryGlobal(void* data, wl_registry*, std::uint32_t name, const char* interface, std::uint32_t version)
{
    watchOf(data)->onGlobal(name, interface, version);
}
void registryGlobalRemove(void* data, wl_registry*, std::uint32_t name) { watchOf(data)->onGlobalRemove(name); }
const wl_registry_listener registryListener = {registryGlobal, registryGlobalRemove};

void notificationIdled(void* data, ext_idle_notification_v1*) { watchOf(data)->onIdled(); }
void notificationResumed(void* data, ext_idle_notification_v1*) { watchOf(data)->onResumed(); }
const ext_idle_notification_v1_listener notificationListener = {notificationIdled, notificationResumed};

void kdeTimeoutIdle(void* data, org_kde_kwin_idle_timeout*) { watchOf(data)->onIdled(); }
void kdeTimeoutResumed(void* data, org_kde_kwin_idle_timeout*) { watchOf(data)->onResumed(); }
const org_kde_kwin_idle_timeout_listener kdeTimeoutListener = {kdeTimeoutIdle, kdeTimeoutResumed};

void syncDone(void* data, wl_callback*, std::uint32_t) { *static_cast<bool*>(data) = true; }
const wl_callback_listener syncListener = {syncDone};

int remainingMs(std::chrono::steady_clock::time_point deadline)
{
    using namespace std::chrono;
    return int(std::max<long long>(0, duration_cast<milliseconds>(deadline - steady_clock::now()).count()));
}

/** Waits until the compositor has handled every request sent so far, dispatching
 *  its events; false when it fails or does not answer within timeoutMs. */
bool roundtrip(wl_display* display, int timeoutMs)
{
    bool done = false;
    WlPtr<wl_callback> sync(wl_display_sync(display));
    wl_callback_add_listener(sync.get(), &syncListener, &done);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done) {
        if (wl_display_prepare_read(display) != 0) {
            if (wl_display_dispatch_pending(display) < 0)
                return false;
            continue;
        }
        wl_display_flush(display);
        pollfd socket = {wl_display_get_fd(display), POLLIN, 0};
        const int ready = poll(&socket, 1, remainingMs(deadline));
        if (ready <= 0) {
            wl_display_cancel_read(display);
            if (ready < 0 && errno == EINTR)
                continue;
            return false;
        }
        if (wl_display_read_events(display) < 0 || wl_display_dispatch_pending(display) < 0)
            return false;
    }
    return true;
}

WaylandIdleWatch::WaylandIdleWatch(wl_display* display, std::chrono::milliseconds timeout)
    : timeoutMs_(std::uint32_t(timeout.count())), display_(display)
{
}

QString WaylandIdleWatch::start()
{
    registry_.reset(wl_display_get_registry(display_.get()));
    wl_registry_add_listener(registry_.get(), &registryListener, this);
    if (!roundtrip(display_.get(), answerTimeoutMs))
        return QStringLiteral("the Wayland compositor did not answer");
    // Version 1 of each: its requests and events are all this code uses. Version 1
    // of get_idle_notification honours the compositor's idle inhibitors.
    if (notifierName_)
        notifier_.reset(static_cast<ext_idle_notifier_v1*>(
            wl_registry_bind(registry_.get(), notifierName_, &ext_idle_notifier_v1_interface, 1)));
    else if (kdeIdleName_)
        kdeIdle_.reset(static_cast<org_kde_kwin_idle*>(
            wl_registry_bind(registry_.get(), kdeIdleName_, &org_kde_kwin_idle_interface, 1)));
    else
        return QStringLiteral("the Wayland compositor offers no idle notifier "
                              "(neither ext_idle_notifier_v1 nor org_kde_kwin_idle)");
    // A compositor without a seat yet gets one later (onGlobal watches it then).
    watchFirstSeat();
    started_ = true;
    reader_ = std::make_unique<QSocketNotifier>(wl_display_get_fd(display_.get()), QSocketNotifier::Read);
    connect(reader_.get(), &QSocketNotifier::activated, this, &WaylandIdleWatch::readEvents);
    if (wl_display_flush(display_.get()) < 0 && errno != EAGAIN)
        return QStringLiteral("the Wayland compositor went away");
    return {};
}

QString WaylandIdleWatch::source() const
{
    return notifier_ ? QStringLiteral("the compositor's idle notifier (ext_idle_notifier_v1)")
                     : QStringLiteral("the compositor's KDE idle protocol (org_kde_kwin_idle)");
}

void WaylandIdleWatch::onGlobal(std::uint32_t name, std::string_view interface, std::uint32_t)
{
    // The notifier is chosen once every global is known (start()).
    if (interface == ext_idle_notifier_v1_interface.name)
        notifierName_ = name;
    else if (interface == org_kde_kwin_idle_interface.name)
        kdeIdleName_ = name;
    else if (interface == wl_seat_interface.name) {
        seats_.push_back(name);
        if (started_ && !seat_)
            watchFirstSeat();
    }
}

void WaylandIdleWatch::onGlobalRemove(std::uint32_t name)
{
    std::erase(seats_, name);
    if (name == seatName_)
        watchFirstSeat();
}

// Several seats are rare (a machine shared by several users at once gives each
// a session of its own); the first one the compositor announced stands for
// the user's, and the next one takes over when it goes.
void WaylandIdleWatch::watchFirstSeat()
{
    notification_.reset();
    kdeTimeout_.reset();
    seat_.reset();
    seatName_ = 0;
    if (seats_.empty())
        return;
    seatName_ = seats_.front();
    seat_.reset(static_cast<wl_seat*>(wl_registry_bind(registry_.get(), seatName_, &wl_seat_interface, 1)));
    if (notifier_) {
        notification_.reset(ext_idle_notifier_v1_get_idle_notification(notifier_.get(), timeoutMs_, seat_.get()));
        ext_idle_notification_v1_add_listener(notification_.get(), &notificationListener, this);
    } else {
        kdeTimeout_.reset(org_kde_kwin_idle_get_idle_timeout(kdeIdle_.get(), seat_.get(), timeoutMs_));
        org_kde_kwin_idle_timeout_add_listener(kdeTimeout_.get(), &kdeTimeoutListener, this);
    }
}

void WaylandIdleWatch::onIdled()
{
    if (idle_)
        return;
    idle_ = true;
    emit idle();
}

void WaylandIdleWatch::onResumed()
{
    if (!idle_)
        return;
    idle_ = false;
    emit active();
}

void WaylandIdleWatch::readEvents()
{
    wl_display* display = display_.get();
    // A failed prepare means events are queued already: dispatching them comes
    // first. A compositor that went away reads as an error (EPIPE at the end).
    if (wl_display_prepare_read(display) == 0 && wl_display_read_events(display) < 0)
        return end();
    if (wl_display_dispatch_pending(display) < 0)
        return end();
    if (wl_display_flush(display) < 0 && errno != EAGAIN)
        return end();
}

void WaylandIdleWatch::end()
{
    if (ended_)
        return;
    ended_ = true;
    reader_->setEnabled(false);
    emit sessionEnded();
}

} // namespace

IdleWatchOrError watchWaylandIdle(std::chrono::milliseconds timeout)
{
    // Without it libwayland would try "wayland-0", which may be another session's.
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return {nullptr, QStringLiteral("WAYLAND_DISPLAY is not set")};
    wl_display* display = wl_display_connect(nullptr);
    if (!display)
        return {nullptr, QStringLiteral("no Wayland compositor answers at %1").arg(qEnvironmentVariable("WAYLAND_DISPLAY"))};
    auto watch = std::make_unique<WaylandIdleWatch>(display, timeout);
    const QString error = watch->start();
    if (!error.isEmpty())
        return {nullptr, error};
    return {std::move(watch), {}};
}

} // namespace platform::wayland
