#pragma once
// System V shared memory that both this process and the X server have
// attached: screen-sized pixels move through it with no copy over the socket.

#include <cstddef>
#include <xcb/shm.h>
#include <xcb/xcb.h>

namespace platform::x11 {

class SharedSegment {
public:
    /** A fresh segment of size bytes; check ready() before use. */
    SharedSegment(xcb_connection_t* connection, std::size_t size);
    ~SharedSegment();
    SharedSegment(const SharedSegment&) = delete;
    SharedSegment& operator=(const SharedSegment&) = delete;

    /** Attached on both sides. */
    bool ready() const { return memory_ && attachedThere_; }
    xcb_shm_seg_t segment() const { return segment_; }
    void* memory() const { return memory_; }

    /** Maps every page of the segment into this process, once: later accesses
     *  never stop for a page fault. The server has allocated the pages already. */
    void mapAllOnce() const;

    /** The ready segment of connection that holds all of [bytes, bytes + size), or null. */
    static const SharedSegment* holding(xcb_connection_t* connection, const void* bytes,
                                        std::size_t size);

private:
    xcb_connection_t* connection_;
    std::size_t size_;
    int id_ = -1;
    void* memory_ = nullptr;
    xcb_shm_seg_t segment_ = 0;
    bool attachedThere_ = false;
    mutable bool allMapped_ = false;
};

} // namespace platform::x11
