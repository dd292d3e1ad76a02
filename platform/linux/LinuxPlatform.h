#pragma once
// The half of the real platform that is not about the display: the command
// line, the program's folder, the settings store, sound, pauses, random
// numbers, claims and the end of the process; and what both displays do
// alike around their own part (the cursor count, the screen copy's driver
// name, the end when the display goes). The X11 and the Wayland platforms
// build on it and add the display.

#include "platform/IniStore.h"
#include "platform/Platform.h"

#include <QGuiApplication>
#include <QStringList>
#include <memory>
#include <random>
#include <string>

namespace platform {

/** The folder holding the program file, without a trailing separator; usable
 *  before the toolkit starts. */
std::string programFolder();

class LinuxPlatform : public Platform {
public:
    ~LinuxPlatform() override;

    double twipsPerPixelX() override;
    double twipsPerPixelY() override;
    std::string rtcCommandVar() override;
    std::string programFolder() override;
    bool claimSaverInstance() override;
    bool claimSoundPlayer() override;
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
    std::int32_t ShowCursor(std::int32_t show) override;
    std::unique_ptr<DeviceContext> CreateDCA(const char* driver) override;
    void DeleteDC(std::unique_ptr<DeviceContext> dc) override;

protected:
    /** The platform over a running toolkit, which it keeps until it goes. */
    explicit LinuxPlatform(std::unique_ptr<QGuiApplication> application);

    /** The display's name, which tells one user's claims on two displays apart. */
    virtual std::string displayName() = 0;
    /** Rings the desktop bell, for a sound that cannot play. */
    virtual void ringBell() = 0;
    /** Gets whatever was asked of the display to it, before the process ends. */
    virtual void flushDisplay() = 0;
    /** A copy of the whole screen for CreateDCA("DISPLAY"); null when there is none. */
    virtual QImage copyWholeScreen() = 0;
    /** Blanks the program's cursor, or gives the usual one back, as the cursor
     *  count crosses zero; nothing where the display hides it by itself. */
    virtual void blankCursor(bool /*blank*/) {}
    /** The display went away: says why in one line and ends with status 1. */
    [[noreturn]] void endForLostDisplay(const QString& why);

private:
    bool claimName(const char* what);

    std::unique_ptr<QGuiApplication> application_; // first made, last gone
    QStringList arguments_;
    IniStore store_;
    bool soundSilent_ = false; // another process plays the sounds
    std::int32_t cursorCount_ = 0;
    std::mt19937 random_;
};

} // namespace platform
