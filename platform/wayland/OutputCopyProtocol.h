#pragma once
// Copies of what one output shows, by whichever screen copy protocol the
// compositor offers: the standard image copy capture where it is there,
// wlroots' older screencopy where only that is.

#include "platform/wayland/Connection.h"
#include "platform/wayland/Output.h"
#include "platform/wayland/OutputCopy.h"

#include <QImage>
#include <functional>
#include <memory>

namespace platform::wayland {

/** True where the compositor offers a protocol copyOutput can use. */
bool canCopyOutputs(const Connection& connection);

/** Asks for a copy of output without the cursor; done runs once with the copy
 *  (Format_RGB32, upright as the output shows it) or a null image when it
 *  failed: during event dispatch, or at once when nothing can copy. */
std::unique_ptr<OutputCopy> copyOutput(const Connection& connection, const Output& output,
                                       std::function<void(QImage)> done);

} // namespace platform::wayland
