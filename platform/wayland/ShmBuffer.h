#pragma once
// A wl_shm buffer: pixels in shared memory that both this process and the
// compositor map, in a pool of its own or cut from a shared one.

#include "platform/wayland/ShmPool.h"

#include <QSize>
#include <cstdint>
#include <memory>

namespace platform::wayland {

/** One buffer of 32-bit pixels; busy from its attach until the compositor releases it. */
class ShmBuffer {
public:
    /** A buffer of size with rows of stride bytes in format (a wl_shm format),
     *  in a pool of its own; null when the memory cannot be had. */
    static std::unique_ptr<ShmBuffer> create(wl_shm* shm, QSize size, int stride, std::uint32_t format);
    /** A buffer cut from pool at offset bytes; it keeps the pool. Null when it
     *  would reach past the pool's end. */
    static std::unique_ptr<ShmBuffer> cut(std::shared_ptr<ShmPool> pool, std::size_t offset, QSize size,
                                          int stride, std::uint32_t format);
    ~ShmBuffer();
    ShmBuffer(const ShmBuffer&) = delete;
    ShmBuffer& operator=(const ShmBuffer&) = delete;

    wl_buffer* handle() const { return buffer_.get(); }
    QSize size() const { return size_; }
    int stride() const { return stride_; }
    std::uint32_t format() const { return format_; }
    std::uint8_t* bits() const { return pool_->bits() + offset_; }

    bool isBusy() const { return busy_; }
    /** Marks the buffer as the compositor's until it releases it. */
    void attached() { busy_ = true; }
    void onRelease() { busy_ = false; }

private:
    ShmBuffer(std::shared_ptr<ShmPool> pool, std::size_t offset, QSize size, int stride, std::uint32_t format);

    WlPtr<wl_buffer> buffer_; // goes before its pool
    std::shared_ptr<ShmPool> pool_;
    std::size_t offset_;
    QSize size_;
    int stride_;
    std::uint32_t format_;
    bool busy_ = false;
};

} // namespace platform::wayland
