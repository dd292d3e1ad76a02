#pragma once
// The program's own window on a Wayland compositor: an ordinary xdg toplevel
// that shows the whole canvas at the canvas's size. A size the compositor
// asks for goes to the owner, whose next canvas has it.

#include "platform/wayland/CanvasSurface.h"
#include "platform/wayland/FrameScreen.h"
#include "platform/wayland/Toplevel.h"

#include <QString>
#include <functional>
#include <optional>

namespace platform::wayland {

class WindowSurface : public FrameScreen {
public:
    /** Makes the window titled title, of size until a frame is shown; it maps
     *  at the compositor's first configure. */
    WindowSurface(const Connection& connection, const QString& title, QSize size);
    ~WindowSurface() override;
    WindowSurface(const WindowSurface&) = delete;
    WindowSurface& operator=(const WindowSurface&) = delete;

    /** Attaches frame index of frames; the window takes the frames' size. */
    void showFrame(const std::shared_ptr<CanvasFrames>& frames, int index, const QRegion& changed) override;
    bool holdsFrame(int index) const override { return canvas_.holdsFrame(index); }

    /** Runs when the compositor asks for another size than the window has. */
    std::function<void(QSize)> resized;
    /** Runs when the user asks the compositor to close the window. */
    std::function<void()> closed;

private:
    void onConfigure(std::uint32_t serial);
    /** Acks the configure waiting, at the canvas's size. */
    void commitConfigure();

    QSize size_; // the shown frames'
    CanvasSurface canvas_; // goes after its role
    Toplevel toplevel_;
    std::optional<std::uint32_t> pendingSerial_;
};

} // namespace platform::wayland
