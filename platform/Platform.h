#pragma once
// The operating-system and toolkit operations the program uses, behind one
// small interface: an X11 and a Wayland backend (x11/, wayland/, both over
// linux/ for what every display shares) run the program, a recording fake
// (fake/) runs the unit tests. createPlatform (factory/PlatformFactory.h) picks the
// backend. The operations keep the names of the system calls the program was
// written against; README.md's glossary says what each name stands for.

#include <QImage>
#include <QRect>
#include <QSize>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QWindow;

namespace platform {

/** A window: an X11 window id on X11; on Wayland, which has no ids for other
 *  clients' windows, 1 stands for the saver's canvas. 0 is no window. */
using WindowId = std::uint32_t;

/** A drawing surface for block transfers (24-bit colour in QImage::Format_RGB32). */
using DeviceContext = QImage;

/** A window's canvas: the window-sized persistent image the program draws on,
 *  held by the backend that shows it, so that the backend knows which image a
 *  window shows without being handed one at each refresh. */
class WindowCanvas {
public:
    virtual ~WindowCanvas() = default;
    /** The image to draw on (Format_RGB32). A drawing changes it in place and
     *  then refreshes the rectangle it changed. The reference holds until the
     *  next refresh or replace: a backend may flip between two images. */
    virtual QImage& image() = 0;
    /** Replaces the image whole (a new ground, a new size); the next refresh
     *  reads the new one. */
    virtual void replace(QImage image) = 0;
    /** Puts rect of the image straight onto the window at the same place, with
     *  no toolkit buffer in between; parts outside the image turn black. On
     *  screen when it returns. */
    virtual void refresh(const QRect& rect) = 0;
};

/** Interface for platform dependent code. */
class Platform {
public:
    virtual ~Platform() = default;

    /** Horizontal twips (1/1440 inch) per pixel, from the screen's logical dpi. */
    virtual double twipsPerPixelX() = 0;
    /** Vertical twips per pixel. */
    virtual double twipsPerPixelY() = 0;
    /** Size of the whole screen in pixels. */
    virtual QSize screenPixels() = 0;
    /** True when the screen shows the program's 24-bit pictures: TrueColor of any
     *  depth. False on a screen of palette colours (8-bit PseudoColor). */
    virtual bool hasTrueColour() = 0;
    /** The desktop's scale, a whole number: 2 where it draws everything twice as
     *  large as on a 96 dpi screen; 1 when the desktop sets none. */
    virtual int desktopScale() = 0;

    /** The argument text after the program path: arguments joined by single spaces. */
    virtual std::string rtcCommandVar() = 0;
    /** The folder holding the program file, without a trailing separator. */
    virtual std::string programFolder() = 0;

    /** A viewable top-level window with this title, or 0. className is kept for the
     *  system call's shape: only null (any class) is supported. */
    virtual WindowId FindWindowA(const char* className, const char* windowName) = 0;
    /** Claims the one saver of this display for the life of the process; false when
     *  another process holds it. Closes the gap between two savers started at once. */
    virtual bool claimSaverInstance() = 0;
    /** Makes child a child of newParent at (0, 0); returns the old parent or 0 (the
     *  system call's result; the program does not need it). */
    virtual WindowId SetParent(WindowId child, WindowId newParent) = 0;
    /** True when window is a child or further descendant of parent. */
    virtual bool IsChild(WindowId parent, WindowId window) = 0;

    /** Changes the cursor display count by one (show: -1 adds, 0 takes); returns the new count. */
    virtual std::int32_t ShowCursor(std::int32_t show) = 0;

    /** Starts copying the whole screen for the next CreateDCA("DISPLAY"), which then
     *  only collects the copy: the work overlaps with building the window. The
     *  copy shows the screen as it is at this call. */
    virtual void prepareScreenCopy() = 0;
    /** Opens a device context; the driver "DISPLAY" gives a copy of the whole screen,
     *  any other none. Null when it cannot. */
    virtual std::unique_ptr<DeviceContext> CreateDCA(const char* driver) = 0;
    /** Releases a device context from CreateDCA. Kept so that the code that opens the
     *  display's context visibly releases it; the pointer itself frees the memory. */
    virtual void DeleteDC(std::unique_ptr<DeviceContext> dc) = 0;

    /** Holds the keyboard and the pointer for window and gives it the keyboard focus;
     *  a grab another client holds is tried again until it is free. */
    virtual void grabInput(QWindow& window) = 0;
    /** Gives the keyboard and the pointer back. */
    virtual void releaseInput() = 0;
    /** Raises window to the top of the stacking order. */
    virtual void bringToTop(QWindow& window) = 0;
    /** Keeps window above every other window from now on: whenever another one is
     *  mapped or raised, window is raised again. A compositor is asked to leave it alone. */
    virtual void keepOnTop(QWindow& window) = 0;
    /** The root window: the whole screen, every monitor a part of it. */
    virtual WindowId rootWindow() = 0;
    /** The size of any client's window; empty when there is no such window. */
    virtual QSize windowSize(WindowId window) = 0;
    /** Runs resized with the new size whenever window (any client's) changes size,
     *  and destroyed once it is gone. */
    virtual void watchWindow(WindowId window, std::function<void(QSize)> resized,
                             std::function<void()> destroyed) = 0;
    /** The copy of the screen a screen-saver host left on its window for the hack it
     *  runs there (XScreenSaver's _SCREENSAVER_SCREENSHOT pixmap); null when none. */
    virtual QImage hostScreenshot(WindowId window) = 0;
    /** The X resource database as xrdb loaded it (the root's RESOURCE_MANAGER text);
     *  empty when there is none. */
    virtual std::string resourceDatabase() = 0;
    /** A canvas of size (its pixels not yet set) that window shows from now on:
     *  told once, the backend knows what to put on screen at each refresh. The
     *  window keeps it for its life. */
    virtual std::unique_ptr<WindowCanvas> showCanvas(QWindow& window, QSize size) = 0;

    /** Returns after ms milliseconds (0 yields the time slice). Meanwhile the program's
     *  input is still handled, so input that ends the program ends it at once. */
    virtual void Sleep(std::uint32_t ms) = 0;
    /** Plays a sound file to its end, handling input meanwhile as Sleep does; the
     *  desktop bell if it cannot. flags is kept for the system call's shape: only 0
     *  (play synchronously) is supported. True when it played. */
    virtual bool sndPlaySoundA(const std::string& path, std::uint32_t flags) = 0;

    /** Claims the sound of this user's processes on this display for the life of the
     *  process. When another one holds it, false, and sndPlaySoundA from then on waits
     *  as long as each sound lasts without playing it. */
    virtual bool claimSoundPlayer() = 0;

    /** Seeds the random generator from the clock. */
    virtual void rtcRandomize() = 0;
    /** The next random number r, 0 <= r < 1. */
    virtual float rtcRandomNext() = 0;

    /** Reads a value of the per-user settings store; names match without regard to case. */
    virtual std::string rtcGetSetting(const std::string& app, const std::string& section,
                                      const std::string& key, const std::string& fallback) = 0;
    /** Writes a value of the per-user settings store. */
    virtual void rtcSaveSetting(const std::string& app, const std::string& section,
                                const std::string& key, const std::string& value) = 0;

    /** Runs handler on the event loop when the process is asked to end (SIGTERM, SIGINT, SIGHUP). */
    virtual void onTerminationRequest(std::function<void()> handler) = 0;
    /** Ends the process at once with status; the real backends never return.
     *  A test's fake records the end and returns (no exception may cross Qt's
     *  event handling), so callers do nothing after it and return. */
    virtual void endProcess(int status) = 0;
};

} // namespace platform
