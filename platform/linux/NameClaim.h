#pragma once
// A claim on a name for the life of the process: a Unix socket bound to the
// name in the abstract namespace. Binding is atomic, the kernel frees the
// name however the process ends (SIGKILL included), and no file is created.

#include <QByteArray>

namespace platform {

/** Claims name until the process ends; false when another process holds it.
 *  Where no socket can be had, true: the caller falls back on its other checks. */
bool claimAbstractName(const QByteArray& name);

} // namespace platform
