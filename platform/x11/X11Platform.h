#pragma once
// The real platform on an X display: Qt 6 on the xcb platform, xcb where Qt
// has no API, over the Linux half that is the same on every display.

#include "platform/linux/LinuxPlatform.h"

#include <map>

namespace platform::x11 {

class ConnectionGuard;
class InputGrab;
struct PaintTarget;
class PendingScreenRead;
class WindowWatcher;

class X11Platform : public LinuxPlatform {
public:
    /** The platform over a running toolkit, which it keeps until it goes. */
    explicit X11Platform(std::unique_ptr<QGuiApplication> application);
    ~X11Platform() override;

    QSize screenPixels() override;
    bool hasTrueColour() override;
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
    /** What painting window takes, found out at its first paint; null when it cannot be painted. */
    PaintTarget* paintTarget(WindowId window);

protected:
    std::string displayName() override;
    void ringBell() override;
    void flushDisplay() override;
    QImage copyWholeScreen() override;
    void blankCursor(bool blank) override;

private:
    WindowWatcher& watcher(WindowId window);

    std::unique_ptr<ConnectionGuard> connectionGuard_;
    std::unique_ptr<InputGrab> inputGrab_;
    std::map<WindowId, std::unique_ptr<WindowWatcher>> watchers_;
    std::unique_ptr<PendingScreenRead> screenRead_;
    std::map<WindowId, std::unique_ptr<PaintTarget>> paintTargets_;
};

} // namespace platform::x11
