// One saver per display, and one player of sounds: a Unix socket bound to a
// name in the abstract namespace, held until the process ends. Binding is
// atomic, the kernel frees the name on any exit (SIGKILL included), and no
// file is created.
#include "platform/linux/LinuxPlatform.h"

#include <QByteArray>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {

/** Claims "lilywade-<what>-<user>-<display>" for the life of the process. */
bool LinuxPlatform::claimName(const char* what)
{
    const QByteArray name = "lilywade-" + QByteArray(what) + "-" + QByteArray::number(::getuid())
        + "-" + QByteArray::fromStdString(displayName());
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    // A leading zero byte puts the name in the abstract namespace.
    const std::size_t length = std::min<std::size_t>(name.size(), sizeof(address.sun_path) - 1);
    std::memcpy(address.sun_path + 1, name.constData(), length);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return true; // no socket to be had: fall back on the window check alone
    const auto size = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + length);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), size) != 0) {
        ::close(fd);
        return false;
    }
    return true; // the socket stays open, and the name taken, until exit
}

bool LinuxPlatform::claimSaverInstance()
{
    return claimName("saver");
}

bool LinuxPlatform::claimSoundPlayer()
{
    soundSilent_ = !claimName("sound");
    return !soundSilent_;
}

} // namespace platform
