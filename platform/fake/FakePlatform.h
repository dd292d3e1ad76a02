#pragma once
// A recording fake of the platform layer for headless unit tests: every call
// is appended to `calls` as one line of text, and results come from fields
// the test sets.

#include "platform/Platform.h"

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

class QEventLoop;

namespace platform {

class FakePlatform : public Platform {
public:
    // Results the test sets up.
    double twipsX = 15.0;
    double twipsY = 15.0;
    QSize screen{640, 480};
    bool trueColour = true;        // what hasTrueColour answers
    int scale = 1;                 // what desktopScale answers
    QImage screenImage;            // what CreateDCA("DISPLAY") copies; null = cannot open
    std::string commandText;
    std::string folder = "/opt/lilywade";
    WindowId existingFrogWindow = 0; // what FindWindowA(nullptr, "frog") finds
    bool saverInstanceFree = true;   // what claimSaverInstance answers
    std::int32_t cursorCount = 0;
    std::deque<float> randomNumbers; // rtcRandomNext pops these; 0.5 when empty
    std::map<std::string, std::string> store; // "app/section/key" in lower case -> value
    std::map<WindowId, WindowId> parents;     // child -> parent, for SetParent and IsChild
    QEventLoop* eventLoop = nullptr; // a loop the test runs: endProcess exits it with the status

    WindowId root = 1;
    std::map<WindowId, QSize> windowSizes;    // what windowSize answers; root: screen
    std::map<WindowId, QImage> screenshots;   // what hostScreenshot answers
    bool soundPlayerFree = true;              // what claimSoundPlayer answers
    std::string resources;                    // what resourceDatabase answers
    // What watchWindow registered, per window.
    std::map<WindowId, std::function<void(QSize)>> resized;
    std::map<WindowId, std::function<void()>> destroyed;

    // The status endProcess was called with; empty while the process would still run.
    std::optional<int> endStatus;

    // What happened, one line per call.
    std::vector<std::string> calls;
    std::vector<std::string> callsStartingWith(const std::string& prefix) const;

    double twipsPerPixelX() override;
    double twipsPerPixelY() override;
    QSize screenPixels() override;
    bool hasTrueColour() override;
    int desktopScale() override { return scale; }
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
    std::unique_ptr<WindowCanvas> showCanvas(QWindow& window, QSize size) override;
    /** Records a refresh of the canvas window shows, image; a test may also
     *  keep what was shown. */
    virtual void refresh(QWindow& window, const QImage& image, const QRect& rect);
    void Sleep(std::uint32_t ms) override;
    bool sndPlaySoundA(const std::string& path, std::uint32_t flags) override;
    void rtcRandomize() override;
    float rtcRandomNext() override;
    std::string rtcGetSetting(const std::string& app, const std::string& section,
                              const std::string& key, const std::string& fallback) override;
    void rtcSaveSetting(const std::string& app, const std::string& section,
                        const std::string& key, const std::string& value) override;
    void onTerminationRequest(std::function<void()> handler) override;
    void endProcess(int status) override;

private:
    void record(std::string line) { calls.push_back(std::move(line)); }
};

/** A canvas that records each refresh on its platform: over a test's own
 *  image, or (from showCanvas) over one of its own. */
class FakeCanvas : public WindowCanvas {
public:
    FakeCanvas(FakePlatform& platform, QWindow& window, QImage& image)
        : platform_(platform), window_(window), image_(image) {}
    FakeCanvas(FakePlatform& platform, QWindow& window, QSize size)
        : platform_(platform), window_(window), own_(size, QImage::Format_RGB32), image_(own_) {}

    QImage& image() override { return image_; }
    void replace(QImage image) override { image_ = std::move(image); }
    void refresh(const QRect& rect) override { platform_.refresh(window_, image_, rect); }

private:
    FakePlatform& platform_;
    QWindow& window_;
    QImage own_;
    QImage& image_;
};

} // namespace platform
