#include "platform/FolderLock.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace platform {

namespace {

// Waits in the kernel, which wakes the waiter as the holder lets go.
bool lockBlocking(int descriptor, int operation)
{
    while (::flock(descriptor, operation) != 0)
        if (errno != EINTR)
            return false;
    return true;
}

} // namespace

FolderLock::FolderLock(const QString& folder, Mode mode,
                       std::optional<std::chrono::milliseconds> wait)
{
    descriptor_ = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor_ < 0)
        return;
    const int operation = mode == Mode::Shared ? LOCK_SH : LOCK_EX;
    if (!wait) {
        if (lockBlocking(descriptor_, operation))
            state_ = State::Held;
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + *wait;
    // Polled, so that a holder that never lets go costs a bounded wait;
    // holders keep it for a few milliseconds.
    while (::flock(descriptor_, operation | LOCK_NB) != 0) {
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
