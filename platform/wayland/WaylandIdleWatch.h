#pragma once
// The session's idle time as a Wayland compositor tells it, for lilywade-idle:
// on a connection of its own, read on Qt's event loop, with Qt Core alone.

#include "platform/IdleWatch.h"

#include <chrono>

namespace platform::wayland {

/** Watches the compositor of WAYLAND_DISPLAY through ext_idle_notifier_v1
 *  (which honours the compositor's idle inhibitors) or, where it lacks that,
 *  KDE's org_kde_kwin_idle; the error says why not when there is no
 *  compositor, no seat or neither protocol, so that another watch can be tried. */
IdleWatchOrError watchWaylandIdle(std::chrono::milliseconds timeout);

} // namespace platform::wayland
