// The claim is a name held for the life of the process, as the saver's own
// claims (NameClaim.h).
#include "platform/IdleSession.h"
#include "platform/linux/NameClaim.h"

#include <QByteArray>
#include <unistd.h>

namespace platform {

namespace {

/** The Wayland socket's path, else the X display without its screen number. */
QByteArray sessionName()
{
    const QByteArray wayland = qgetenv("WAYLAND_DISPLAY");
    if (!wayland.isEmpty())
        return wayland.startsWith('/') ? wayland : qgetenv("XDG_RUNTIME_DIR") + '/' + wayland;
    QByteArray display = qgetenv("DISPLAY");
    const qsizetype colon = display.lastIndexOf(':');
    const qsizetype dot = display.indexOf('.', colon);
    return dot > colon ? display.left(dot) : display;
}

} // namespace

bool claimIdleSession()
{
    // Where no socket can be had, run rather than refuse.
    return claimAbstractName("lilywade-idle-" + QByteArray::number(::getuid()) + "-" + sessionName());
}

} // namespace platform
