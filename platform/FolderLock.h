#pragma once
// A lock on a folder, shared or exclusive, held through an open descriptor of
// the folder itself: taking it creates no file, and it ends with the process
// that holds it, however that process ends.

#include <QString>
#include <chrono>
#include <optional>

namespace platform {

class FolderLock {
public:
    enum class Mode { Shared, Exclusive };
    /** Held: the lock is ours. Busy: another process kept it for the whole
     *  wait. Unavailable: the folder is missing or cannot be locked. */
    enum class State { Held, Busy, Unavailable };

    /** Waits up to wait for the lock on folder; without a wait, as long as it takes. */
    FolderLock(const QString& folder, Mode mode, std::optional<std::chrono::milliseconds> wait);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    State state() const { return state_; }

private:
    int descriptor_ = -1;
    State state_ = State::Unavailable;
};

} // namespace platform
