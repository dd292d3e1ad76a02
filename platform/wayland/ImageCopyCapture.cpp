#include "platform/wayland/ImageCopyCapture.h"

#include "platform/wayland/ScreenCopy.h"

#include <algorithm>

namespace platform::wayland {

namespace {

ImageCopyCapture& self(void* data) { return *static_cast<ImageCopyCapture*>(data); }

void sessionBufferSize(void* data, ext_image_copy_capture_session_v1*, std::uint32_t width, std::uint32_t height)
{
    self(data).onBufferSize(width, height);
}
void sessionShmFormat(void* data, ext_image_copy_capture_session_v1*, std::uint32_t format)
{
    self(data).onShmFormat(format);
}
void sessionDmabufDevice(void*, ext_image_copy_capture_session_v1*, wl_array*) {}
void sessionDmabufFormat(void*, ext_image_copy_capture_session_v1*, std::uint32_t, wl_array*) {}
void sessionDone(void* data, ext_image_copy_capture_session_v1*) { self(data).onConstraintsDone(); }
void sessionStopped(void* data, ext_image_copy_capture_session_v1*) { self(data).onStopped(); }
const ext_image_copy_capture_session_v1_listener sessionListener = {
    sessionBufferSize, sessionShmFormat, sessionDmabufDevice, sessionDmabufFormat, sessionDone, sessionStopped};

void frameTransform(void* data, ext_image_copy_capture_frame_v1*, std::uint32_t transform)
{
    self(data).onTransform(transform);
}
void frameDamage(void*, ext_image_copy_capture_frame_v1*, std::int32_t, std::int32_t, std::int32_t, std::int32_t) {}
void framePresentationTime(void*, ext_image_copy_capture_frame_v1*, std::uint32_t, std::uint32_t, std::uint32_t) {}
void frameReady(void* data, ext_image_copy_capture_frame_v1*) { self(data).onReady(); }
void frameFailed(void* data, ext_image_copy_capture_frame_v1*, std::uint32_t) { self(data).onFailed(); }
const ext_image_copy_capture_frame_v1_listener frameListener = {
    frameTransform, frameDamage, framePresentationTime, frameReady, frameFailed};

} // namespace

std::optional<std::uint32_t> chooseShmFormat(const std::vector<std::uint32_t>& offered)
{
    for (const std::uint32_t wanted : {WL_SHM_FORMAT_XRGB8888, WL_SHM_FORMAT_ARGB8888, WL_SHM_FORMAT_XBGR8888,
                                       WL_SHM_FORMAT_ABGR8888}) {
        if (std::find(offered.begin(), offered.end(), std::uint32_t(wanted)) != offered.end())
            return wanted;
    }
    return std::nullopt;
}

ImageCopyCapture::ImageCopyCapture(const Connection& connection, const Output& output,
                                   std::function<void(QImage)> done)
    : shm_(connection.globals().shm.get()), done_(std::move(done))
{
    const Globals& globals = connection.globals();
    source_.reset(ext_output_image_capture_source_manager_v1_create_source(globals.outputCaptureSources.get(),
                                                                           output.handle()));
    // Options 0: no cursor in the copy, as with wlr-screencopy.
    session_.reset(ext_image_copy_capture_manager_v1_create_session(globals.imageCopyCapture.get(),
                                                                    source_.get(), 0));
    ext_image_copy_capture_session_v1_add_listener(session_.get(), &sessionListener, this);
}

void ImageCopyCapture::onConstraintsDone()
{
    // Constraints sent again while the frame is under way change nothing:
    // one frame is all this copy needs.
    if (!frame_ && !finished_)
        capture();
    formats_.clear();
}

void ImageCopyCapture::capture()
{
    const std::optional<std::uint32_t> format = chooseShmFormat(formats_);
    if (!format || size_.isEmpty())
        return finish(QImage());
    buffer_ = ShmBuffer::create(shm_, size_, size_.width() * 4, *format);
    if (!buffer_)
        return finish(QImage());
    frame_.reset(ext_image_copy_capture_session_v1_create_frame(session_.get()));
    ext_image_copy_capture_frame_v1_add_listener(frame_.get(), &frameListener, this);
    ext_image_copy_capture_frame_v1_attach_buffer(frame_.get(), buffer_->handle());
    ext_image_copy_capture_frame_v1_damage_buffer(frame_.get(), 0, 0, size_.width(), size_.height());
    ext_image_copy_capture_frame_v1_capture(frame_.get());
}

void ImageCopyCapture::onReady()
{
    if (!buffer_)
        return finish(QImage());
    // The frame's own transform, not the output's: it says how the compositor
    // laid the pixels into this buffer.
    finish(frameImage(buffer_->bits(), buffer_->size(), buffer_->stride(), buffer_->format(), false, transform_));
}

void ImageCopyCapture::finish(QImage image)
{
    if (finished_)
        return;
    finished_ = true;
    frame_.reset();
    session_.reset();
    source_.reset();
    buffer_.reset();
    if (done_)
        done_(std::move(image));
}

} // namespace platform::wayland
