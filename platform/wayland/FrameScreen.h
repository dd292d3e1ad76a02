#pragma once
// What puts a canvas's frames on screen: the surfaces over the outputs, or
// the program's own window. The canvas flips between its two frames; the
// screen attaches the frame it is given and says while the compositor still
// reads one.

#include "platform/wayland/CanvasFrames.h"

#include <QRegion>
#include <memory>

namespace platform::wayland {

class FrameScreen {
public:
    virtual ~FrameScreen() = default;
    /** Attaches frame index of frames everywhere; changed (canvas pixels) is
     *  where it differs from the frame attached before. Other frames than
     *  before are shown whole. */
    virtual void showFrame(const std::shared_ptr<CanvasFrames>& frames, int index, const QRegion& changed) = 0;
    /** True while frame index of the frames shown is not to be drawn on: the
     *  compositor still reads it, and is to give it back. */
    virtual bool holdsFrame(int index) const = 0;
};

} // namespace platform::wayland
