#pragma once
// The real platform on a Wayland compositor: the session's surfaces show the
// program's canvas over every output, and its input reaches the program's
// window as the toolkit's events; or, for a window of the program's own, one
// ordinary window shows it. Qt runs on its offscreen platform for the event
// loop, the timers and the images; for the settings dialog it runs on a
// display of its own choice, and none of the display calls are used.

#include "platform/PlatformStart.h"
#include "platform/linux/LinuxPlatform.h"
#include "platform/wayland/InputRouter.h"

namespace platform::wayland {

class Session;
class WindowSurface;

class WaylandPlatform : public LinuxPlatform {
public:
    /** The platform over a running toolkit and an open session, for use; it keeps both. */
    WaylandPlatform(std::unique_ptr<QGuiApplication> application, std::unique_ptr<Session> session,
                    DisplayUse use);
    ~WaylandPlatform() override;

    QSize screenPixels() override;
    bool hasTrueColour() override { return true; }
    int desktopScale() override;
    WindowId FindWindowA(const char* className, const char* windowName) override;
    WindowId SetParent(WindowId child, WindowId newParent) override;
    bool IsChild(WindowId parent, WindowId window) override;
    void prepareScreenCopy() override;
    void grabInput(QWindow& window) override;
    void releaseInput() override;
    void bringToTop(QWindow& window) override;
    void keepOnTop(QWindow& window) override;
    WindowId rootWindow() override;
    QSize windowSize(WindowId window) override;
    void watchWindow(WindowId window, std::function<void(QSize)> resized,
                     std::function<void()> destroyed) override;
    QImage hostScreenshot(WindowId window) override;
    std::string resourceDatabase() override;
    std::unique_ptr<WindowCanvas> showCanvas(QWindow& window, QSize size) override;

protected:
    std::string displayName() override;
    void ringBell() override;
    void flushDisplay() override;
    QImage copyWholeScreen() override;
    // No blankCursor: the surfaces hide the cursor over themselves, and once
    // they are gone the compositor shows its own again.

private:
    class Canvas;

    /** Puts rect of canvas on screen, over the outputs or in the program's own window. */
    void refresh(Canvas& canvas, const QRect& rect);
    /** refresh for the program's own window: the window made at the first one. */
    void refreshOwnWindow(Canvas& canvas, const QRect& rect);

    std::unique_ptr<Session> session_; // goes before the toolkit, whose loop reads it
    InputRouter input_;
    const DisplayUse use_;
    std::unique_ptr<WindowSurface> ownWindow_; // goes before the session
    std::function<void(QSize)> canvasResized_;
    QImage kwinCopy_; // taken by prepareScreenCopy, for the next CreateDCA
    QObject context_; // for work deferred to the event loop, dropped with the platform
};

} // namespace platform::wayland
