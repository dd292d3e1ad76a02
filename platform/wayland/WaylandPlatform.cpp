#include "platform/wayland/WaylandPlatform.h"
#include "platform/linux/SessionBus.h"
#include "platform/wayland/FlippingCanvas.h"
#include "platform/wayland/GnomeOverview.h"
#include "platform/wayland/Session.h"
#include "platform/wayland/WindowSurface.h"

#include <QTimer>
#include <QWindow>
#include <utility>

namespace platform::wayland {

namespace {

/** The id that stands for the canvas, the Wayland side's root window: all outputs together. */
constexpr WindowId canvasWindow = 1;

} // namespace

WaylandPlatform::WaylandPlatform(std::unique_ptr<QGuiApplication> application, std::unique_ptr<Session> session,
                                 DisplayUse use)
    : LinuxPlatform(std::move(application)), session_(std::move(session)), input_(*session_), use_(use)
{
    Session::Events& events = session_->events;
    // From the event loop: never in the middle of a drawing, which may be
    // dispatching the compositor's events while it waits for a frame.
    events.layoutChanged = [this] {
        QTimer::singleShot(0, &context_, [this] {
            if (canvasResized_)
                canvasResized_(session_->canvasSize());
        });
    };
    // As on X11 when the server goes: the surfaces are gone with it.
    events.lost = [this](const QString& why) { endForLostDisplay(why); };
    // KWin gives copies of its outputs on the session bus.
    session_->allowSessionBus(sessionBusRuns());
    session_->startReading();
}

WaylandPlatform::~WaylandPlatform() = default;

QSize WaylandPlatform::screenPixels()
{
    return session_->canvasSize();
}

// With outputs at mixed scales the canvas is in the largest one's pixels,
// and so are the frogs. The own window's buffer is in logical pixels, which
// the compositor itself enlarges on a scaled output.
int WaylandPlatform::desktopScale()
{
    return use_ == DisplayUse::OwnWindow ? 1 : session_->canvasScale();
}

std::string WaylandPlatform::displayName()
{
    // The compositor's socket, found as libwayland finds it: a name alone is
    // only unique within one runtime folder (wayland-1 of two sessions).
    QByteArray name = qgetenv("WAYLAND_DISPLAY");
    if (name.isEmpty())
        name = "wayland-0";
    if (!name.startsWith('/'))
        name = qgetenv("XDG_RUNTIME_DIR") + '/' + name;
    return name.toStdString();
}

// Wayland lists no windows of other clients: the saver's claim alone keeps a
// second saver away.
WindowId WaylandPlatform::FindWindowA(const char*, const char*) { return 0; }

// Embedding into, and the windows and resources of, other clients are X11's.
WindowId WaylandPlatform::SetParent(WindowId, WindowId) { return 0; }
bool WaylandPlatform::IsChild(WindowId, WindowId) { return false; }
QImage WaylandPlatform::hostScreenshot(WindowId) { return {}; }
std::string WaylandPlatform::resourceDatabase() { return {}; }


void WaylandPlatform::prepareScreenCopy()
{
    if (!session_->canCopyScreen())
        return;
    session_->startScreenCopy();
    // KWin's copies come through Qt's event loop, which runs for them now,
    // while no window of the saver and none of its timers exist yet: a timer
    // that fired during the wait would save the frogs' ground before it is in.
    if (!session_->hasScreenCopy())
        kwinCopy_ = session_->screenCopy();
}

QImage WaylandPlatform::copyWholeScreen()
{
    if (!session_->canCopyScreen())
        return {};
    QImage copy = std::exchange(kwinCopy_, QImage());
    return copy.isNull() ? session_->screenCopy() : copy;
}

void WaylandPlatform::grabInput(QWindow& window)
{
    // The surfaces hold the keyboard themselves (exclusively, on the overlay
    // layer); what they are given goes to window from now on.
    input_.sendTo(&window);
    // Full-screen windows get the keyboard as any new window does, but not
    // while GNOME Shell's overview is open.
    if (!session_->hasLayerShell() && sessionBusRuns())
        leaveGnomeOverview();
}

void WaylandPlatform::releaseInput()
{
    input_.sendTo(nullptr);
}

// The surfaces are on the overlay layer, above everything, from the start.
void WaylandPlatform::bringToTop(QWindow&) {}
void WaylandPlatform::keepOnTop(QWindow&) {}

WindowId WaylandPlatform::rootWindow()
{
    return canvasWindow;
}

QSize WaylandPlatform::windowSize(WindowId window)
{
    return window == canvasWindow ? session_->canvasSize() : QSize();
}

void WaylandPlatform::watchWindow(WindowId window, std::function<void(QSize)> resized, std::function<void()>)
{
    // The canvas lasts as long as the session; there is no other window to watch.
    if (window == canvasWindow)
        canvasResized_ = std::move(resized);
}

/** A window's canvas on Wayland: its frames are the buffers the compositor
 *  reads, shown over the outputs or in the program's own window. */
class WaylandPlatform::Canvas : public WindowCanvas {
public:
    Canvas(WaylandPlatform& platform, QWindow& window, QSize size)
        : platform_(platform), window_(window), frames_(*platform.session_, size)
    {
    }

    QImage& image() override { return frames_.image(); }
    void replace(QImage image) override { frames_.replace(std::move(image)); }
    void refresh(const QRect& rect) override { platform_.refresh(*this, rect); }

    QWindow& window() const { return window_; }
    FlippingCanvas& frames() { return frames_; }

private:
    WaylandPlatform& platform_;
    QWindow& window_;
    FlippingCanvas frames_;
};

std::unique_ptr<WindowCanvas> WaylandPlatform::showCanvas(QWindow& window, QSize size)
{
    return std::make_unique<Canvas>(*this, window, size);
}

void WaylandPlatform::refresh(Canvas& canvas, const QRect& rect)
{
    if (use_ == DisplayUse::OwnWindow)
        refreshOwnWindow(canvas, rect);
    else
        canvas.frames().refresh(*session_, rect);
}

void WaylandPlatform::refreshOwnWindow(Canvas& canvas, const QRect& rect)
{
    QWindow& window = canvas.window();
    // A hidden window has nothing on screen to paint.
    if (!window.isVisible())
        return;
    if (!ownWindow_) {
        ownWindow_ = std::make_unique<WindowSurface>(session_->connection(), window.title(), window.size());
        // The window's resize event brings a canvas of the new size here.
        ownWindow_->resized = [&window](QSize size) { window.resize(size); };
        // The user closed the program's one window: the program ends, at once
        // also in the middle of a jump, whose pauses run nested event loops.
        ownWindow_->closed = [this] { endProcess(0); };
    }
    canvas.frames().refresh(*ownWindow_, rect);
    session_->send();
}

// No bell: the compositors have no protocol for one.
void WaylandPlatform::ringBell() {}

void WaylandPlatform::flushDisplay()
{
    session_->send();
}

} // namespace platform::wayland
