#pragma once
// The real platform layer: Qt 6 on the xcb platform, Xlib/xcb where Qt has
// no API, ALSA and libsndfile for sound, an INI file for the settings store.

#include "platform/IniStore.h"
#include "platform/Platform.h"

#include <QGuiApplication>
#include <QStringList>
#include <map>
#include <string>
#include <random>

namespace platform {

/** The folder holding the program file, without a trailing separator; usable
 *  before the toolkit starts. */
std::string programFolder();

class InputGrab;
struct PaintTarget;
class PendingScreenRead;
class WindowWatcher;

class X11Platform : public Platform {
public:
    /** The platform over a running toolkit, which it keeps until it goes. */
    explicit X11Platform(std::unique_ptr<QGuiApplication> application);
    ~X11Platform() override;

    double twipsPerPixelX() override;
    double twipsPerPixelY() override;
    QSize screenPixels() override;
    bool hasTrueColour() override;
    std::string rtcCommandVar() override;
    std::string programFolder() override;
    WindowId FindWindowA(const char* className, const char* windowName) override;
    bool claimSaverInstance() override;
    WindowId SetParent(WindowId child, WindowId newParent) override;
    bool IsChild(WindowId parent, WindowId window) override;
    std::int32_t ShowCursor(std::int32_t show) override;
    void prepareScreenCopy() override;
    std::unique_ptr<DeviceContext> CreateDCA(const char* driver) override;
    void DeleteDC(std::unique_ptr<DeviceContext> dc) override;
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
    bool claimSoundPlayer() override;
    void refresh(QWindow& window, const QImage& image, const QRect& rect) override;
    void Sleep(std::uint32_t ms) override;
    bool sndPlaySoundA(const std::string& path, std::uint32_t flags) override;
    void rtcRandomize() override;
    float rtcRandomNext() override;
    std::string rtcGetSetting(const std::string& app, const std::string& section,
                              const std::string& key, const std::string& fallback) override;
    void rtcSaveSetting(const std::string& app, const std::string& section,
                        const std::string& key, const std::string& value) override;
    void onTerminationRequest(std::function<void()> handler) override;
    [[noreturn]] void endProcess(int status) override;

private:
    WindowWatcher& watcher(WindowId window);
    /** What painting window takes, found out at its first paint; null when it cannot be painted. */
    PaintTarget* paintTarget(WindowId window);

    std::unique_ptr<QGuiApplication> application_; // first made, last gone
    QStringList arguments_;
    IniStore store_;
    std::int32_t cursorCount_ = 0;
    std::unique_ptr<InputGrab> inputGrab_;
    std::map<WindowId, std::unique_ptr<WindowWatcher>> watchers_;
    bool soundSilent_ = false; // another process plays the sounds
    std::mt19937 random_;
    std::unique_ptr<PendingScreenRead> screenRead_;
    std::map<WindowId, std::unique_ptr<PaintTarget>> paintTargets_;
};

} // namespace platform
