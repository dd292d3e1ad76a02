#include "platform/wayland/ScreenCopy.h"

#include <QTransform>
#include <cstring>

namespace platform::wayland {

namespace {

ScreenCopy& self(void* data) { return *static_cast<ScreenCopy*>(data); }

void frameBuffer(void* data, zwlr_screencopy_frame_v1*, std::uint32_t format, std::uint32_t width,
                 std::uint32_t height, std::uint32_t stride)
{
    self(data).onBuffer(format, width, height, stride);
}
void frameFlags(void* data, zwlr_screencopy_frame_v1*, std::uint32_t flags) { self(data).onFlags(flags); }
void frameReady(void* data, zwlr_screencopy_frame_v1*, std::uint32_t, std::uint32_t, std::uint32_t)
{
    self(data).onReady();
}
void frameFailed(void* data, zwlr_screencopy_frame_v1*) { self(data).onFailed(); }
const zwlr_screencopy_frame_v1_listener frameListener = {frameBuffer, frameFlags, frameReady, frameFailed};

bool redFirst(std::uint32_t format) { return format == WL_SHM_FORMAT_XBGR8888 || format == WL_SHM_FORMAT_ABGR8888; }

bool known(std::uint32_t format)
{
    return format == WL_SHM_FORMAT_XRGB8888 || format == WL_SHM_FORMAT_ARGB8888 || redFirst(format);
}

/** The turn that shows a frame of an output with this transform upright
 *  (checked against grim on sway for each of the eight). */
QTransform upright(std::int32_t transform)
{
    QTransform turn;
    turn.rotate(90.0 * (transform % 4));
    if (transform >= WL_OUTPUT_TRANSFORM_FLIPPED)
        turn = turn * QTransform::fromScale(-1, 1);
    return turn;
}

} // namespace

QImage frameImage(const std::uint8_t* rows, QSize size, int stride, std::uint32_t format, bool yInverted,
                  std::int32_t transform)
{
    if (!known(format) || size.isEmpty() || stride < size.width() * 4)
        return QImage();
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        const std::uint8_t* from = rows + std::size_t(stride) * std::size_t(yInverted ? size.height() - 1 - y : y);
        auto* to = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
        std::memcpy(to, from, std::size_t(size.width()) * 4);
        // The unused byte of x formats may hold anything; RGB32 wants 0xff there.
        for (int x = 0; x < size.width(); ++x)
            to[x] |= 0xff000000u;
    }
    if (redFirst(format))
        image = std::move(image).rgbSwapped();
    if (transform != WL_OUTPUT_TRANSFORM_NORMAL)
        image = image.transformed(upright(transform));
    return image;
}

ScreenCopy::ScreenCopy(const Connection& connection, const Output& output, std::function<void(QImage)> done)
    : shm_(connection.globals().shm.get()), transform_(output.transform()), done_(std::move(done))
{
    zwlr_screencopy_manager_v1* manager = connection.globals().screencopy.get();
    if (!manager || !shm_) {
        finish(QImage());
        return;
    }
    frame_.reset(zwlr_screencopy_manager_v1_capture_output(manager, 0, output.handle()));
    zwlr_screencopy_frame_v1_add_listener(frame_.get(), &frameListener, this);
}

void ScreenCopy::onBuffer(std::uint32_t format, std::uint32_t width, std::uint32_t height, std::uint32_t stride)
{
    if (!known(format))
        return finish(QImage());
    buffer_ = ShmBuffer::create(shm_, QSize(int(width), int(height)), int(stride), format);
    if (!buffer_)
        return finish(QImage());
    zwlr_screencopy_frame_v1_copy(frame_.get(), buffer_->handle());
}

void ScreenCopy::onReady()
{
    if (!buffer_)
        return finish(QImage());
    finish(frameImage(buffer_->bits(), buffer_->size(), buffer_->stride(), buffer_->format(),
                      flags_ & ZWLR_SCREENCOPY_FRAME_V1_FLAGS_Y_INVERT, transform_));
}

void ScreenCopy::finish(QImage image)
{
    if (finished_)
        return;
    finished_ = true;
    frame_.reset();
    buffer_.reset();
    if (done_)
        done_(std::move(image));
}

} // namespace platform::wayland
