#pragma once
// A copy of what one output shows, taken by the compositor through wlroots'
// older screencopy protocol into shared memory and turned into a QImage; and
// the reading of such frames, shared with the standard image copy capture.

#include "platform/wayland/Connection.h"
#include "platform/wayland/Output.h"
#include "platform/wayland/OutputCopy.h"
#include "platform/wayland/ShmBuffer.h"

#include <QImage>
#include <functional>

namespace platform::wayland {

/** One copy of one output; the compositor answers asynchronously. */
class ScreenCopy final : public OutputCopy {
public:
    /** Asks for a copy of output without the cursor (a compositor that draws the
     *  cursor into the output's pixels, as headless sway does, copies it too).
     *  done runs once with the copy (Format_RGB32, the output's pixels as shown)
     *  or a null image when it failed: during event dispatch, or at once when the
     *  compositor has no screen copy protocol. */
    ScreenCopy(const Connection& connection, const Output& output, std::function<void(QImage)> done);
    ScreenCopy(const ScreenCopy&) = delete;
    ScreenCopy& operator=(const ScreenCopy&) = delete;

    bool isFinished() const override { return finished_; }

    void onBuffer(std::uint32_t format, std::uint32_t width, std::uint32_t height, std::uint32_t stride);
    void onFlags(std::uint32_t flags) { flags_ = flags; }
    void onReady();
    void onFailed() { finish(QImage()); }

private:
    void finish(QImage image);

    wl_shm* shm_;
    std::int32_t transform_;
    std::function<void(QImage)> done_;
    WlPtr<zwlr_screencopy_frame_v1> frame_;
    std::unique_ptr<ShmBuffer> buffer_;
    std::uint32_t flags_ = 0;
    bool finished_ = false;
};

/** Rows of a frame in a wl_shm format into Format_RGB32, with the rows flipped
 *  when yInverted and the picture turned as transform shows it; null for a
 *  format other than xrgb8888, argb8888, xbgr8888 and abgr8888. */
QImage frameImage(const std::uint8_t* rows, QSize size, int stride, std::uint32_t format, bool yInverted,
                  std::int32_t transform);

} // namespace platform::wayland
