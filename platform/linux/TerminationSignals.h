#pragma once
// SIGTERM, SIGINT and SIGHUP as an event of the running event loop.

#include <functional>

namespace platform {

/** Calls handler from the event loop when one of the three signals arrives. */
void onTerminationSignal(std::function<void()> handler);

} // namespace platform
