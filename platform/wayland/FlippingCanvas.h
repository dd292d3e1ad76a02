#pragma once
// The program's canvas on Wayland, kept in the buffers the compositor reads
// instead of in an image of its own: two frames, flipped at each refresh.
// The program draws on the frame not shown; a refresh attaches it, and the
// other frame, shown until then, becomes the one drawn on once it has caught
// up: what the refresh changed is copied over, after the compositor has let
// go of it. So the canvas costs two frames and no copy per output.

#include "platform/wayland/CanvasFrames.h"
#include "platform/wayland/FrameScreen.h"

#include <QImage>
#include <QRegion>
#include <memory>

namespace platform::wayland {

class Session;

class FlippingCanvas {
public:
    /** A canvas of size, black, shown nowhere yet; session gives the memory
     *  and the events dispatched while waiting for the compositor. */
    FlippingCanvas(Session& session, QSize size);

    /** The frame to draw on (Format_RGB32), the same picture as the one shown.
     *  May wait for the compositor to give it back. */
    QImage& image();
    /** Replaces the picture whole; a new size takes new frames. */
    void replace(QImage image);
    /** Shows the frame drawn on through screen; rect is what changed since
     *  the last refresh, besides a replaced picture. */
    void refresh(FrameScreen& screen, const QRect& rect);

private:
    /** Brings the frame to draw on up to the frame shown. */
    void catchUp();
    /** Returns once the compositor no longer reads the frame to draw on. */
    void waitForBack();
    QImage& back() { return frames_->image(back_); }

    Session& session_;
    std::shared_ptr<CanvasFrames> frames_;
    QImage spare_; // drawn on while no frames could be had; never shown
    int back_ = 0;
    QRegion changed_; // on back_ since the last flip, beyond what refresh is told
    QRegion lag_; // where back_ is behind the frame shown
    FrameScreen* screen_ = nullptr;
};

} // namespace platform::wayland
