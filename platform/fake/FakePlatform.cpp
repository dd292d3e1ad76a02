#include "platform/fake/FakePlatform.h"

#include <QEventLoop>
#include <QWindow>
#include <algorithm>
#include <cctype>

namespace platform {

namespace {

std::string lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

std::string storeName(const std::string& app, const std::string& section, const std::string& key)
{
    return lower(app + "/" + section + "/" + key);
}

std::string rectText(const QRect& r)
{
    return std::to_string(r.x()) + "," + std::to_string(r.y()) + "," + std::to_string(r.width())
        + "," + std::to_string(r.height());
}

} // namespace

std::vector<std::string> FakePlatform::callsStartingWith(const std::string& prefix) const
{
    std::vector<std::string> found;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(found),
                 [&](const std::string& c) { return c.rfind(prefix, 0) == 0; });
    return found;
}

double FakePlatform::twipsPerPixelX() { return twipsX; }
double FakePlatform::twipsPerPixelY() { return twipsY; }
QSize FakePlatform::screenPixels() { return screen; }
bool FakePlatform::hasTrueColour() { return trueColour; }
std::string FakePlatform::rtcCommandVar() { return commandText; }
std::string FakePlatform::programFolder() { return folder; }

WindowId FakePlatform::FindWindowA(const char* className, const char* windowName)
{
    record(std::string("FindWindowA(") + (className ? className : "null") + "," + windowName + ")");
    return (className == nullptr && std::string(windowName) == "frog") ? existingFrogWindow : 0;
}

bool FakePlatform::claimSaverInstance()
{
    record("claimSaverInstance");
    return saverInstanceFree;
}

WindowId FakePlatform::SetParent(WindowId child, WindowId newParent)
{
    record("SetParent(" + std::to_string(child) + "," + std::to_string(newParent) + ")");
    const WindowId old = parents.count(child) ? parents[child] : 0;
    parents[child] = newParent;
    return old;
}

bool FakePlatform::IsChild(WindowId parent, WindowId window)
{
    record("IsChild(" + std::to_string(parent) + "," + std::to_string(window) + ")");
    for (int depth = 0; depth < 64 && parents.count(window); ++depth) {
        window = parents[window];
        if (window == parent && parent != 0)
            return true;
    }
    return false;
}

std::int32_t FakePlatform::ShowCursor(std::int32_t show)
{
    cursorCount += show ? 1 : -1;
    record("ShowCursor(" + std::to_string(show) + ")=" + std::to_string(cursorCount));
    return cursorCount;
}

void FakePlatform::prepareScreenCopy()
{
    record("prepareScreenCopy");
}

std::unique_ptr<DeviceContext> FakePlatform::CreateDCA(const char* driver)
{
    record(std::string("CreateDCA(") + driver + ")");
    if (std::string(driver) != "DISPLAY" || screenImage.isNull())
        return nullptr;
    return std::make_unique<DeviceContext>(screenImage.convertToFormat(QImage::Format_RGB32));
}

void FakePlatform::DeleteDC(std::unique_ptr<DeviceContext>)
{
    record("DeleteDC");
}

void FakePlatform::grabInput(QWindow&) { record("grabInput"); }
void FakePlatform::releaseInput() { record("releaseInput"); }
void FakePlatform::bringToTop(QWindow&) { record("bringToTop"); }
void FakePlatform::keepOnTop(QWindow&) { record("keepOnTop"); }

WindowId FakePlatform::rootWindow() { return root; }

QSize FakePlatform::windowSize(WindowId window)
{
    if (window == root)
        return screen;
    const auto found = windowSizes.find(window);
    return found == windowSizes.end() ? QSize() : found->second;
}

void FakePlatform::watchWindow(WindowId window, std::function<void(QSize)> onResize,
                               std::function<void()> onDestroy)
{
    record("watchWindow(" + std::to_string(window) + ")");
    resized[window] = std::move(onResize);
    destroyed[window] = std::move(onDestroy);
}

QImage FakePlatform::hostScreenshot(WindowId window)
{
    const auto found = screenshots.find(window);
    return found == screenshots.end() ? QImage() : found->second;
}

std::string FakePlatform::resourceDatabase() { return resources; }

bool FakePlatform::claimSoundPlayer()
{
    record("claimSoundPlayer");
    return soundPlayerFree;
}
std::unique_ptr<WindowCanvas> FakePlatform::showCanvas(QWindow& window, QSize size)
{
    return std::make_unique<FakeCanvas>(*this, window, size);
}

void FakePlatform::refresh(QWindow&, const QImage&, const QRect& rect) { record("refresh(" + rectText(rect) + ")"); }
void FakePlatform::Sleep(std::uint32_t ms) { record("Sleep(" + std::to_string(ms) + ")"); }

bool FakePlatform::sndPlaySoundA(const std::string& path, std::uint32_t flags)
{
    record("sndPlaySoundA(" + path + "," + std::to_string(flags) + ")");
    return true;
}

void FakePlatform::rtcRandomize() { record("rtcRandomize"); }

float FakePlatform::rtcRandomNext()
{
    if (randomNumbers.empty())
        return 0.5f;
    const float r = randomNumbers.front();
    randomNumbers.pop_front();
    return r;
}

std::string FakePlatform::rtcGetSetting(const std::string& app, const std::string& section,
                                        const std::string& key, const std::string& fallback)
{
    record("rtcGetSetting(" + app + "," + section + "," + key + "," + fallback + ")");
    const auto found = store.find(storeName(app, section, key));
    return found == store.end() ? fallback : found->second;
}

void FakePlatform::rtcSaveSetting(const std::string& app, const std::string& section,
                                  const std::string& key, const std::string& value)
{
    record("rtcSaveSetting(" + app + "," + section + "," + key + "," + value + ")");
    store[storeName(app, section, key)] = value;
}

void FakePlatform::onTerminationRequest(std::function<void()>)
{
    record("onTerminationRequest");
}

void FakePlatform::endProcess(int status)
{
    record("endProcess(" + std::to_string(status) + ")");
    endStatus = status;
    // The process would be gone: nothing of the loop may run on.
    if (eventLoop)
        eventLoop->exit(status);
}

} // namespace platform
