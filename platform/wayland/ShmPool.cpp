#include "platform/wayland/ShmPool.h"

#include <sys/mman.h>
#include <unistd.h>

namespace platform::wayland {

namespace {

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

std::shared_ptr<ShmPool> ShmPool::create(wl_shm* shm, std::size_t bytes)
{
    if (!shm || bytes == 0 || bytes > std::size_t(INT32_MAX))
        return nullptr;
    const int fd = sharedFile(bytes);
    if (fd < 0)
        return nullptr;
    void* memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (memory == MAP_FAILED) {
        close(fd);
        return nullptr;
    }
    std::shared_ptr<ShmPool> made(new ShmPool(memory, bytes));
    // The compositor maps the file itself: ours can go at once.
    made->pool_.reset(wl_shm_create_pool(shm, fd, int(bytes)));
    close(fd);
    return made;
}

ShmPool::~ShmPool()
{
    pool_.reset();
    munmap(memory_, bytes_);
}

} // namespace platform::wayland
