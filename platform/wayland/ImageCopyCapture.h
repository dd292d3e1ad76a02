#pragma once
// A copy of what one output shows through the standard image copy capture
// protocol: a session on the output's capture source tells the buffer's size
// and shared-memory formats, then one frame is captured into such a buffer.

#include "platform/wayland/Connection.h"
#include "platform/wayland/Output.h"
#include "platform/wayland/OutputCopy.h"
#include "platform/wayland/ShmBuffer.h"

#include <QImage>
#include <functional>
#include <optional>
#include <vector>

namespace platform::wayland {

/** One frame of one output's capture source; source, session and frame go
 *  as soon as the frame is ready or failed. */
class ImageCopyCapture final : public OutputCopy {
public:
    ImageCopyCapture(const Connection& connection, const Output& output, std::function<void(QImage)> done);
    ImageCopyCapture(const ImageCopyCapture&) = delete;
    ImageCopyCapture& operator=(const ImageCopyCapture&) = delete;

    bool isFinished() const override { return finished_; }

    void onBufferSize(std::uint32_t width, std::uint32_t height) { size_ = QSize(int(width), int(height)); }
    void onShmFormat(std::uint32_t format) { formats_.push_back(format); }
    void onConstraintsDone();
    void onStopped() { finish(QImage()); }
    void onTransform(std::uint32_t transform) { transform_ = std::int32_t(transform); }
    void onReady();
    void onFailed() { finish(QImage()); }

private:
    void capture();
    void finish(QImage image);

    wl_shm* shm_;
    std::function<void(QImage)> done_;
    WlPtr<ext_image_capture_source_v1> source_;
    WlPtr<ext_image_copy_capture_session_v1> session_;
    WlPtr<ext_image_copy_capture_frame_v1> frame_;
    std::unique_ptr<ShmBuffer> buffer_;
    QSize size_;
    std::vector<std::uint32_t> formats_; // of the batch of constraints being sent
    std::int32_t transform_ = WL_OUTPUT_TRANSFORM_NORMAL;
    bool finished_ = false;
};

/** The format to copy into, of those the compositor offers: the first that
 *  frameImage reads, the one that needs no swapping of red and blue first. */
std::optional<std::uint32_t> chooseShmFormat(const std::vector<std::uint32_t>& offered);

} // namespace platform::wayland
