#include "platform/wayland/CanvasFrames.h"

namespace platform::wayland {

std::shared_ptr<CanvasFrames> CanvasFrames::create(wl_shm* shm, QSize size)
{
    if (size.isEmpty() || size.width() > INT32_MAX / 4)
        return nullptr;
    const std::size_t frame = std::size_t(size.width()) * 4 * std::size_t(size.height());
    // One row more: the compositor counts a whole stride for the last row of
    // a view, also for one that ends left of the canvas's right edge.
    std::shared_ptr<ShmPool> pool = ShmPool::create(shm, 2 * frame + std::size_t(size.width()) * 4);
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
        image = QImage(pool_->bits() + std::size_t(index) * frameBytes(), size_.width(), size_.height(), stride(),
                       QImage::Format_RGB32);
        image.fill(Qt::black);
    }
}

std::unique_ptr<ShmBuffer> CanvasFrames::view(int index, const QRect& rect) const
{
    if (rect.isEmpty() || !this->rect().contains(rect))
        return nullptr;
    const std::size_t offset =
        std::size_t(index) * frameBytes() + std::size_t(rect.y()) * std::size_t(stride()) + std::size_t(rect.x()) * 4;
    return ShmBuffer::cut(pool_, offset, rect.size(), stride(), WL_SHM_FORMAT_XRGB8888);
}

} // namespace platform::wayland
