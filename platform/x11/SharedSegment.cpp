#include "platform/x11/SharedSegment.h"
#include "platform/x11/XConnection.h"
#include "platform/x11/XReply.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <sys/ipc.h>
#include <sys/mman.h>
#include <sys/shm.h>
#include <vector>

namespace platform::x11 {

namespace {

/** Every ready segment, so that painting can find the one an image lives in. */
std::vector<const SharedSegment*>& readySegments()
{
    static std::vector<const SharedSegment*> segments;
    return segments;
}

} // namespace

SharedSegment::SharedSegment(xcb_connection_t* connection, std::size_t size)
    : connection_(connection), size_(size)
{
    id_ = shmget(IPC_PRIVATE, size, IPC_CREAT | 0600);
    if (id_ < 0)
        return;
    memory_ = shmat(id_, nullptr, 0);
    if (memory_ != reinterpret_cast<void*>(-1)) {
        segment_ = xcb_generate_id(connection);
        attachedThere_ = !errorOf(connection, xcb_shm_attach_checked(connection, segment_, id_, 0));
    } else {
        memory_ = nullptr;
    }
    // Removed once both sides have detached, even if this process dies.
    shmctl(id_, IPC_RMID, nullptr);
    if (ready())
        readySegments().push_back(this);
}

SharedSegment::~SharedSegment()
{
    std::erase(readySegments(), this);
    // A closed connection has detached the segment on the server already.
    if (attachedThere_ && xcbConnection() == connection_)
        xcb_shm_detach(connection_, segment_);
    if (memory_)
        shmdt(memory_);
}

void SharedSegment::mapAllOnce() const
{
    if (allMapped_ || !memory_)
        return;
    allMapped_ = true;
    // One call instead of a fault per page (kernels before 5.14 refuse it,
    // and the pages are then faulted in as they are used).
    madvise(memory_, size_, MADV_POPULATE_WRITE);
}

const SharedSegment* SharedSegment::holding(xcb_connection_t* connection, const void* bytes,
                                            std::size_t size)
{
    const auto* first = static_cast<const std::byte*>(bytes);
    for (const SharedSegment* segment : readySegments()) {
        const auto* begin = static_cast<const std::byte*>(segment->memory_);
        const bool inside = std::less_equal<>()(begin, first)
            && std::less_equal<>()(first + size, begin + segment->size_);
        if (segment->connection_ == connection && inside)
            return segment;
    }
    return nullptr;
}

} // namespace platform::x11
