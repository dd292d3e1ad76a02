#pragma once
// Shared memory for wl_shm buffers: an anonymous file that this process and
// the compositor both map, and the compositor's pool over it, from which any
// number of buffers are cut.

#include "platform/wayland/WlPtr.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <wayland-client.h>

namespace platform::wayland {

class ShmPool {
public:
    /** A pool of bytes, zero-filled; null when the memory cannot be had. */
    static std::shared_ptr<ShmPool> create(wl_shm* shm, std::size_t bytes);
    ~ShmPool();
    ShmPool(const ShmPool&) = delete;
    ShmPool& operator=(const ShmPool&) = delete;

    wl_shm_pool* handle() const { return pool_.get(); }
    std::uint8_t* bits() const { return static_cast<std::uint8_t*>(memory_); }
    std::size_t bytes() const { return bytes_; }

private:
    ShmPool(void* memory, std::size_t bytes) : memory_(memory), bytes_(bytes) {}

    WlPtr<wl_shm_pool> pool_;
    void* memory_;
    std::size_t bytes_;
};

} // namespace platform::wayland
