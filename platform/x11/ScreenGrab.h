#pragma once
// Reading the whole screen (the root window with everything on it) from the
// X server into an image.

#include "platform/x11/PixelLayout.h"

#include <QImage>
#include <QSize>
#include <memory>
#include <xcb/shm.h>
#include <xcb/xcb.h>

namespace platform::x11 {

/**
 * A 1:1 copy of the root window in QImage::Format_RGB32, read through shared
 * memory when the server allows it, else over the socket, else through Qt;
 * a root of another TrueColor depth is converted from its visual's layout.
 * Null when the screen cannot be read. The fourth byte of each pixel is as
 * the server leaves it in shared memory (Qt reads RGB32 pixels as opaque
 * whatever it holds, and the X server ignores it); 0xff otherwise.
 */
QImage grabRootWindow();

/** The pixmap a screen-saver host stored in the window's _SCREENSAVER_SCREENSHOT
 *  property, as an image of its own size; null when there is none. */
QImage readHostScreenshot(xcb_window_t window);

enum class GrabMethod { SharedMemory, Socket, Qt };
/** The copy by one method only; null when that method cannot read the screen. */
QImage grabRootWindow(GrabMethod method);

class SharedSegment;

/**
 * A copy of the root window through shared memory that the server has been
 * asked for and fills while this process goes on. It shows the screen as it
 * was when asked for.
 */
class PendingScreenRead {
public:
    /** Sends the request; null when the server cannot serve it through shared memory. */
    static std::unique_ptr<PendingScreenRead> begin();
    /** The same for a drawable of the root's depth and visual (a window or a pixmap) of size. */
    static std::unique_ptr<PendingScreenRead> begin(xcb_drawable_t drawable, QSize size);
    ~PendingScreenRead();
    PendingScreenRead(const PendingScreenRead&) = delete;
    PendingScreenRead& operator=(const PendingScreenRead&) = delete;

    /** Waits for the server; the copy as grabRootWindow gives it, or null. Once only. */
    QImage finish();

private:
    PendingScreenRead() = default;
    std::size_t size() const { return layout_.bytesPerLine(width_) * std::size_t(height_); }

    xcb_connection_t* connection_ = nullptr;
    PixelLayout layout_;
    std::unique_ptr<SharedSegment> segment_;
    xcb_shm_get_image_cookie_t cookie_{};
    int width_ = 0;
    int height_ = 0;
    bool waiting_ = false;
};

} // namespace platform::x11
