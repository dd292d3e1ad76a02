#include "platform/linux/NameClaim.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {

bool claimAbstractName(const QByteArray& name)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    // A leading zero byte puts the name in the abstract namespace.
    const std::size_t length = std::min<std::size_t>(name.size(), sizeof(address.sun_path) - 1);
    std::memcpy(address.sun_path + 1, name.constData(), length);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return true;
    const auto size = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + length);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), size) != 0) {
        ::close(fd);
        return false;
    }
    return true; // the socket stays open, and the name taken, until exit
}

} // namespace platform
