#pragma once
// The program's own window on a Wayland compositor: an ordinary xdg toplevel
// that shows the whole canvas at the canvas's size. A size the compositor
// asks for goes to the owner, whose next canvas has it.

#include "platform/wayland/CanvasSurface.h"
#include "platform/wayland/Toplevel.h"

#include <QString>
#include <functional>
#include <optional>

namespace platform::wayland {

class WindowSurface {
public:
    /** Makes the window titled title, of size until a canvas is shown; it maps
     *  at the compositor's first configure. */
    WindowSurface(const Connection& connection, const QString& title, QSize size);
    ~WindowSurface();
    WindowSurface(const WindowSurface&) = delete;
    WindowSurface& operator=(const WindowSurface&) = delete;

    /** Shows canvas (Format_RGB32, alive until replaced) all anew; the window takes its size. */
    void show(const QImage* canvas);
    /** Puts rect of the canvas on screen. */
    void update(const QRect& rect) { canvas_.update(rect); }

    /** Runs when the compositor asks for another size than the window has. */
    std::function<void(QSize)> resized;
    /** Runs when the user asks the compositor to close the window. */
    std::function<void()> closed;

private:
    void onConfigure(std::uint32_t serial);
    /** Acks the configure waiting, at the canvas's size. */
    void commitConfigure();

    QSize size_; // the shown canvas's
    CanvasSurface canvas_; // goes after its role
    Toplevel toplevel_;
    std::optional<std::uint32_t> pendingSerial_;
};

} // namespace platform::wayland
