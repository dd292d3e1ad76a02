#include "platform/wayland/CanvasFrames.h"

namespace platform::wayland {

namespace {

std::size_t stride(QSize size) { return std::size_t(size.width()) * 4; }
std::size_t frameBytes(QSize size) { return stride(size) * std::size_t(size.height()); }

} // namespace

std::size_t CanvasFrames::poolBytes(QSize size)
{
    // One row more: the compositor counts a whole stride for the last row of
    // a view, also for one that ends left of the canvas's right edge.
    return 2 * frameBytes(size) + stride(size);
}

std::size_t CanvasFrames::offset(QSize size, int index, QPoint at)
{
    return std::size_t(index) * frameBytes(size) + std::size_t(at.y()) * stride(size) + std::size_t(at.x()) * 4;
}

std::shared_ptr<CanvasFrames> CanvasFrames::create(wl_shm* shm, QSize size)
{
    if (size.isEmpty() || size.width() > INT32_MAX / 4)
        return nullptr;
    std::shared_ptr<ShmPool> pool = ShmPool::create(shm, poolBytes(size));
    if (!pool)
        return nullptr;
    return std::shared_ptr<CanvasFrames>(new CanvasFrames(std::move(pool), size));
}

CanvasFrames::CanvasFrames(std::shared_ptr<ShmPool> pool, QSize size) : pool_(std::move(pool)), size_(size)
{
    // The images only wrap the pool's memory, so they must never be detached
    // into copies of their own. Black with the alpha byte set, as a QImage's
    // own RGB32 pixels are: every page is written soon in any case.
    for (int index = 0; index < 2; ++index) {
        QImage& image = images_.at(std::size_t(index));
        image = QImage(pool_->bits() + offset(size, index, QPoint(0, 0)), size.width(), size.height(),
                       int(stride(size)), QImage::Format_RGB32);
        image.fill(Qt::black);
    }
}

std::unique_ptr<ShmBuffer> CanvasFrames::view(int index, const QRect& rect) const
{
    if (rect.isEmpty() || !this->rect().contains(rect))
        return nullptr;
    return ShmBuffer::cut(pool_, offset(size_, index, rect.topLeft()), rect.size(), int(stride(size_)),
                          WL_SHM_FORMAT_XRGB8888);
}

} // namespace platform::wayland
