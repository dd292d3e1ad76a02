#pragma once
// The canvas twice over, in one shm pool the compositor maps: while the
// compositor reads one frame, the program draws on the other. A surface shows
// its part of a frame through a buffer cut from the pool at that part's
// offset, with the stride of the whole canvas, so no pixel is ever copied
// into a surface's buffer: the buffers are views of the canvas itself.

#include "platform/wayland/ShmBuffer.h"

#include <QImage>
#include <QRect>
#include <array>
#include <memory>

namespace platform::wayland {

class CanvasFrames {
public:
    /** Two frames of size (Format_RGB32, black); null when the memory cannot be had. */
    static std::shared_ptr<CanvasFrames> create(wl_shm* shm, QSize size);

    QSize size() const { return size_; }
    QRect rect() const { return QRect(QPoint(0, 0), size_); }
    /** Frame index (0 or 1), drawn on in place: the image is the pool's memory. */
    QImage& image(int index) { return images_.at(std::size_t(index)); }
    /** A buffer showing rect of frame index; null where rect is not all on the canvas. */
    std::unique_ptr<ShmBuffer> view(int index, const QRect& rect) const;

    /** The bytes of the pool of frames of size. */
    static std::size_t poolBytes(QSize size);
    /** Where the pixel at of frame index is in the pool of frames of size. */
    static std::size_t offset(QSize size, int index, QPoint at);

private:
    CanvasFrames(std::shared_ptr<ShmPool> pool, QSize size);

    std::shared_ptr<ShmPool> pool_;
    QSize size_;
    std::array<QImage, 2> images_;
};

} // namespace platform::wayland
