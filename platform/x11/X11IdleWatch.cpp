#include "platform/x11/X11IdleWatch.h"
#include "platform/x11/XReply.h"

#include <algorithm>
#include <vector>
#include <xcb/screensaver.h>

namespace platform::x11 {

namespace {

// The core protocol's timeout is a signed 16-bit number of seconds.
constexpr std::chrono::seconds LongestServerTimeout{32767};

} // namespace

IdleWatchOrError X11IdleWatch::connect(std::chrono::seconds timeout)
{
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return {nullptr, QStringLiteral("cannot open the X display '%1'").arg(qEnvironmentVariable("DISPLAY"))};
    }
    std::unique_ptr<X11IdleWatch> watch(new X11IdleWatch(connection, timeout));
    const QString error = watch->takeOver();
    if (!error.isEmpty())
        return {nullptr, error};
    return {std::move(watch), {}};
}

X11IdleWatch::X11IdleWatch(xcb_connection_t* connection, std::chrono::seconds timeout)
    : connection_(connection), timeout_(timeout)
{
    beyondServer_.setSingleShot(true);
    beyondServer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&beyondServer_, &QTimer::timeout, this, [this] {
        idle_ = true;
        emit idle();
    });
}

/** Sets the server's timer to the chosen time, with our saver window. */
QString X11IdleWatch::takeOver()
{
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection_, &xcb_screensaver_id);
    if (!extension || !extension->present)
        return QStringLiteral("the X server has no MIT-SCREEN-SAVER extension");
    notifyEvent_ = extension->first_event + XCB_SCREENSAVER_NOTIFY;
    screen_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    const auto saver = replyOf(connection_, xcb_get_screen_saver(connection_), xcb_get_screen_saver_reply);
    if (!saver)
        return QStringLiteral("the X server does not tell its screen-saver settings");
    saved_ = {int16_t(saver->timeout), int16_t(saver->interval), saver->prefer_blanking, saver->allow_exposures};
    // When the timer runs out the server maps this window instead of blanking
    // or drawing a pattern: an input-only window draws nothing, so the
    // screen, and the saver's copy of it, still show the desktop.
    xcb_screensaver_set_attributes(connection_, screen_->root, 0, 0, screen_->width_in_pixels,
                                   screen_->height_in_pixels, 0, XCB_WINDOW_CLASS_INPUT_ONLY, 0,
                                   XCB_COPY_FROM_PARENT, 0, nullptr);
    xcb_screensaver_select_input(connection_, screen_->root, XCB_SCREENSAVER_EVENT_NOTIFY_MASK);
    const auto serverTimeout = std::min(timeout_, LongestServerTimeout);
    xcb_set_screen_saver(connection_, int16_t(serverTimeout.count()), 0, XCB_BLANKING_NOT_PREFERRED,
                         XCB_EXPOSURES_ALLOWED);
    takenOver_ = true;
    xcb_flush(connection_);
    notifier_ = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(connection_), QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, this, &X11IdleWatch::readEvents);
    return {};
}

X11IdleWatch::~X11IdleWatch()
{
    if (takenOver_ && !xcb_connection_has_error(connection_)) {
        xcb_set_screen_saver(connection_, saved_.timeout, saved_.interval, saved_.preferBlanking,
                             saved_.allowExposures);
        xcb_screensaver_unset_attributes(connection_, screen_->root);
        xcb_screensaver_select_input(connection_, screen_->root, 0);
        // Waits for the server to have done it, before the process ends.
        std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    }
    notifier_.reset();
    xcb_disconnect(connection_);
}

QString X11IdleWatch::source() const
{
    return QStringLiteral("the X server's screen-saver timer");
}

bool X11IdleWatch::otherHostRuns()
{
    // XScreenSaver's daemon marks a window of its own, an unmapped child of
    // the root, with its version (and once marked the root itself).
    static const char name[] = "_SCREENSAVER_VERSION";
    const auto atom = replyOf(connection_, xcb_intern_atom(connection_, 1, sizeof name - 1, name),
                              xcb_intern_atom_reply);
    if (!atom || atom->atom == XCB_ATOM_NONE)
        return false;
    std::vector<xcb_window_t> windows{screen_->root};
    if (const auto tree = replyOf(connection_, xcb_query_tree(connection_, screen_->root), xcb_query_tree_reply)) {
        const xcb_window_t* children = xcb_query_tree_children(tree.get());
        windows.insert(windows.end(), children, children + xcb_query_tree_children_length(tree.get()));
    }
    // All asked at once: one round trip however many windows there are.
    std::vector<xcb_get_property_cookie_t> cookies;
    for (xcb_window_t window : windows)
        cookies.push_back(xcb_get_property(connection_, 0, window, atom->atom, XCB_GET_PROPERTY_TYPE_ANY, 0, 0));
    bool marked = false;
    for (const auto& cookie : cookies) {
        const auto property = replyOf(connection_, cookie, xcb_get_property_reply);
        marked = marked || (property && property->type != XCB_ATOM_NONE);
    }
    return marked;
}

void X11IdleWatch::readEvents()
{
    while (XcbPtr<xcb_generic_event_t> event{xcb_poll_for_event(connection_)}) {
        if ((event->response_type & 0x7f) == notifyEvent_)
            onServerSaver(reinterpret_cast<xcb_screensaver_notify_event_t*>(event.get())->state);
    }
    if (xcb_connection_has_error(connection_) && !ended_) {
        ended_ = true;
        notifier_->setEnabled(false);
        emit sessionEnded();
    }
}

void X11IdleWatch::onServerSaver(uint8_t state)
{
    if (state == XCB_SCREENSAVER_STATE_ON && !idle_ && !beyondServer_.isActive()) {
        if (timeout_ > LongestServerTimeout) {
            beyondServer_.start(timeout_ - LongestServerTimeout);
            return;
        }
        idle_ = true;
        emit idle();
    } else if (state == XCB_SCREENSAVER_STATE_OFF) {
        beyondServer_.stop();
        if (idle_) {
            idle_ = false;
            emit active();
        }
    }
}

} // namespace platform::x11
