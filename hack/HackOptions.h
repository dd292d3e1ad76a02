#pragma once
// The command line of lilywade, the frogs as a hack of the screen-saver hosts
// (XScreenSaver, xfce4-screensaver, mate-screensaver, xsecurelock).

#include "settings/SaverSettings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct HackOptions {
    std::optional<std::uint32_t> windowId; // --window-id ID: draw into that window
    bool root = false;                     // --root: $XSCREENSAVER_WINDOW, else the root window
    std::optional<std::int16_t> speed;     // --speed N, clamped to 0..MaxSpeed
    std::optional<bool> sound, hole, streak, blank; // --sound / --no-sound and so on
    std::optional<int> scale;              // --scale N, 1..4: the frogs' size, not the desktop's
    bool noStoredSettings = false;         // --no-stored-settings: defaults, not the dialog's store
    bool help = false;                     // --help: print the usage, exit 0
    bool version = false;                  // --version: print the version, exit 0
};

/** The options in args (without the program's name); nullopt, with error set to
 *  one line saying why, when an option is unknown or malformed. */
std::optional<HackOptions> parseHackOptions(const std::vector<std::string>& args, std::string& error);

/** A window id as hosts write it: decimal, or hexadecimal with 0x; nullopt for
 *  anything else, 0 included. */
std::optional<std::uint32_t> parseWindowId(std::string_view text);

/** The settings with the options given on the command line put over them. */
SaverSettingsRecord withHackOptions(SaverSettingsRecord settings, const HackOptions& options);

/** The usage text that --help prints (and a malformed command line, to stderr). */
std::string hackUsage();
