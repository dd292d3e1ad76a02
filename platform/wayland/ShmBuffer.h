#pragma once
// A wl_shm buffer: pixels in an anonymous shared file that both this process
// and the compositor map.

#include "platform/wayland/WlPtr.h"

#include <QRegion>
#include <QSize>
#include <cstdint>
#include <functional>
#include <memory>
#include <wayland-client.h>

namespace platform::wayland {

/** One buffer of 32-bit pixels; busy from its attach until the compositor releases it. */
class ShmBuffer {
public:
    /** A buffer of size with rows of stride bytes in format (a wl_shm format);
     *  null when the memory cannot be had. */
    static std::unique_ptr<ShmBuffer> create(wl_shm* shm, QSize size, int stride, std::uint32_t format);
    ~ShmBuffer();
    ShmBuffer(const ShmBuffer&) = delete;
    ShmBuffer& operator=(const ShmBuffer&) = delete;

    wl_buffer* handle() const { return buffer_.get(); }
    QSize size() const { return size_; }
    int stride() const { return stride_; }
    std::uint32_t format() const { return format_; }
    std::uint8_t* bits() const { return static_cast<std::uint8_t*>(memory_); }

    bool isBusy() const { return busy_; }
    /** Marks the buffer as the compositor's until it releases it. */
    void attached() { busy_ = true; }
    void onRelease();

    /** Runs when the compositor gives the buffer back. */
    std::function<void()> released;

    /** What changed on the surface since these pixels were last painted. */
    QRegion stale;

private:
    ShmBuffer(QSize size, int stride, std::uint32_t format, void* memory, std::size_t bytes);

    WlPtr<wl_buffer> buffer_;
    QSize size_;
    int stride_;
    std::uint32_t format_;
    void* memory_;
    std::size_t bytes_;
    bool busy_ = false;
};

} // namespace platform::wayland
