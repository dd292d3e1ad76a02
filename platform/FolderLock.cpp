#include "platform/FolderLock.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace platform {

FolderLock::FolderLock(const QString& folder, Mode mode, std::chrono::milliseconds wait)
{
    descriptor_ = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor_ < 0)
        return;
    const int operation = (mode == Mode::Shared ? LOCK_SH : LOCK_EX) | LOCK_NB;
    const auto deadline = std::chrono::steady_clock::now() + wait;
    // Polled rather than blocking, so that a holder that never lets go costs
    // a bounded wait; holders keep it for a few milliseconds.
    while (::flock(descriptor_, operation) != 0) {
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK)
            return;
        if (std::chrono::steady_clock::now() >= deadline) {
            state_ = State::Busy;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    state_ = State::Held;
}

FolderLock::~FolderLock()
{
    if (descriptor_ >= 0)
        ::close(descriptor_);
}

} // namespace platform
