#include "platform/wayland/ShmBuffer.h"

#include <bit>

namespace platform::wayland {

// wl_shm's formats name their bytes in little-endian order, as QImage's 32-bit formats do here.
static_assert(std::endian::native == std::endian::little);

namespace {

void bufferRelease(void* data, wl_buffer*) { static_cast<ShmBuffer*>(data)->onRelease(); }
const wl_buffer_listener bufferListener = {bufferRelease};

} // namespace

std::unique_ptr<ShmBuffer> ShmBuffer::create(wl_shm* shm, QSize size, int stride, std::uint32_t format)
{
    if (size.isEmpty() || stride < size.width() * 4)
        return nullptr;
    return cut(ShmPool::create(shm, std::size_t(stride) * std::size_t(size.height())), 0, size, stride, format);
}

std::unique_ptr<ShmBuffer> ShmBuffer::cut(std::shared_ptr<ShmPool> pool, std::size_t offset, QSize size,
                                          int stride, std::uint32_t format)
{
    if (!pool || size.isEmpty() || stride < size.width() * 4)
        return nullptr;
    // As the compositor counts it: a whole stride for every row, the last one too.
    const std::size_t end = offset + std::size_t(stride) * std::size_t(size.height());
    if (offset > std::size_t(INT32_MAX) || end > pool->bytes())
        return nullptr;
    std::unique_ptr<ShmBuffer> made(new ShmBuffer(pool, offset, size, stride, format));
    made->buffer_.reset(wl_shm_pool_create_buffer(pool->handle(), std::int32_t(offset), size.width(),
                                                  size.height(), stride, format));
    wl_buffer_add_listener(made->buffer_.get(), &bufferListener, made.get());
    return made;
}

ShmBuffer::ShmBuffer(std::shared_ptr<ShmPool> pool, std::size_t offset, QSize size, int stride,
                     std::uint32_t format)
    : pool_(std::move(pool)), offset_(offset), size_(size), stride_(stride), format_(format)
{
}

ShmBuffer::~ShmBuffer() = default;

} // namespace platform::wayland
