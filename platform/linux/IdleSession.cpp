// The claim is a Unix socket bound to a name in the abstract namespace, as
// the saver's own claims (Claims.cpp): atomic, freed by the kernel however
// the process ends, and no file left behind.
#include "platform/IdleSession.h"

#include <QByteArray>
#include <algorithm>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
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
    const QByteArray name = "lilywade-idle-" + QByteArray::number(::getuid()) + "-" + sessionName();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    // A leading zero byte puts the name in the abstract namespace.
    const std::size_t length = std::min<std::size_t>(name.size(), sizeof(address.sun_path) - 1);
    std::memcpy(address.sun_path + 1, name.constData(), length);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return true; // no socket to be had: run rather than refuse
    const auto size = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + length);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), size) != 0) {
        ::close(fd);
        return false;
    }
    return true; // held until the process ends
}

} // namespace platform
