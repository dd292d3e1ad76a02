#include "platform/wayland/ShmBuffer.h"

#include <bit>
#include <sys/mman.h>
#include <unistd.h>

namespace platform::wayland {

// wl_shm's formats name their bytes in little-endian order, as QImage's 32-bit formats do here.
static_assert(std::endian::native == std::endian::little);

namespace {

void bufferRelease(void* data, wl_buffer*) { static_cast<ShmBuffer*>(data)->onRelease(); }
const wl_buffer_listener bufferListener = {bufferRelease};

/** An anonymous file of bytes length, or -1. */
int sharedFile(std::size_t bytes)
{
    const int fd = memfd_create("lilywade-shm", MFD_CLOEXEC);
    if (fd < 0)
        return -1;
    if (ftruncate(fd, off_t(bytes)) < 0) {
        close(fd);
        return -1;
    }
    return fd;
}

} // namespace

std::unique_ptr<ShmBuffer> ShmBuffer::create(wl_shm* shm, QSize size, int stride, std::uint32_t format)
{
    if (!shm || size.isEmpty() || stride < size.width() * 4)
        return nullptr;
    const std::size_t bytes = std::size_t(stride) * std::size_t(size.height());
    const int fd = sharedFile(bytes);
    if (fd < 0)
        return nullptr;
    void* memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (memory == MAP_FAILED) {
        close(fd);
        return nullptr;
    }
    std::unique_ptr<ShmBuffer> made(new ShmBuffer(size, stride, format, memory, bytes));
    // The buffer keeps the pool's memory: the pool and the file can go at once.
    wl_shm_pool* pool = wl_shm_create_pool(shm, fd, int(bytes));
    made->buffer_.reset(wl_shm_pool_create_buffer(pool, 0, size.width(), size.height(), stride, format));
    wl_shm_pool_destroy(pool);
    close(fd);
    wl_buffer_add_listener(made->buffer_.get(), &bufferListener, made.get());
    return made;
}

ShmBuffer::ShmBuffer(QSize size, int stride, std::uint32_t format, void* memory, std::size_t bytes)
    : size_(size), stride_(stride), format_(format), memory_(memory), bytes_(bytes)
{
}

void ShmBuffer::onRelease()
{
    busy_ = false;
    if (released)
        released();
}

ShmBuffer::~ShmBuffer()
{
    buffer_.reset();
    munmap(memory_, bytes_);
}

} // namespace platform::wayland
