#include "hack/HackOptions.h"

#include "sprites/FrogScale.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>

namespace {

// What an option does with its argument (empty for options without one);
// false, with error set, when the argument is malformed.
using Apply = bool (*)(HackOptions&, std::string_view spelling, std::string_view value,
                       std::string& error);

struct Rule {
    std::string_view name; // without its dashes: hosts write "-root", people "--root"
    bool takesValue;
    Apply apply;
};

template <bool HackOptions::*Field>
bool setTrue(HackOptions& options, std::string_view, std::string_view, std::string&)
{
    options.*Field = true;
    return true;
}

template <std::optional<bool> HackOptions::*Field, bool Value>
bool setSwitch(HackOptions& options, std::string_view, std::string_view, std::string&)
{
    options.*Field = Value;
    return true;
}

bool ignore(HackOptions&, std::string_view, std::string_view, std::string&)
{
    return true;
}

bool setWindowId(HackOptions& options, std::string_view spelling, std::string_view value,
                 std::string& error)
{
    options.windowId = parseWindowId(value);
    if (!options.windowId)
        error = std::string(spelling) + ": \"" + std::string(value) + "\" is not a window id";
    return options.windowId.has_value();
}

// A whole number, with an optional sign; numbers too large for any integer
// type still have a side of the range to be clamped to.
std::optional<std::int16_t> speedOption(std::string_view text)
{
    const bool negative = text.starts_with('-');
    if (negative || text.starts_with('+'))
        text.remove_prefix(1);
    if (text.empty() || !std::ranges::all_of(text, [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    unsigned long long magnitude = 0;
    const auto parsed = std::from_chars(text.data(), text.data() + text.size(), magnitude);
    const double speed = parsed.ec == std::errc::result_out_of_range ? HUGE_VAL : double(magnitude);
    return clampedSpeed(negative ? -speed : speed);
}

bool setSpeed(HackOptions& options, std::string_view spelling, std::string_view value,
              std::string& error)
{
    options.speed = speedOption(value);
    if (!options.speed)
        error = std::string(spelling) + ": \"" + std::string(value) + "\" is not a whole number";
    return options.speed.has_value();
}

bool setScale(HackOptions& options, std::string_view spelling, std::string_view value,
              std::string& error)
{
    if (value.size() == 1 && value[0] >= '1' && value[0] <= '0' + MaxFrogScale)
        options.scale = value[0] - '0';
    else
        error = std::string(spelling) + ": \"" + std::string(value) + "\" is not a scale from 1 to "
            + std::to_string(MaxFrogScale);
    return options.scale.has_value();
}

constexpr Rule Rules[] = {
    {"window-id", true, setWindowId},
    {"root", false, setTrue<&HackOptions::root>},
    {"speed", true, setSpeed},
    {"scale", true, setScale},
    {"sound", false, setSwitch<&HackOptions::sound, true>},
    {"no-sound", false, setSwitch<&HackOptions::sound, false>},
    {"hole", false, setSwitch<&HackOptions::hole, true>},
    {"no-hole", false, setSwitch<&HackOptions::hole, false>},
    {"streak", false, setSwitch<&HackOptions::streak, true>},
    {"no-streak", false, setSwitch<&HackOptions::streak, false>},
    {"blank", false, setSwitch<&HackOptions::blank, true>},
    {"no-blank", false, setSwitch<&HackOptions::blank, false>},
    {"no-stored-settings", false, setTrue<&HackOptions::noStoredSettings>},
    {"help", false, setTrue<&HackOptions::help>},
    {"version", false, setTrue<&HackOptions::version>},
    // Hosts may pass these to any hack; the frogs need none of them.
    {"install", false, ignore},
    {"visual", true, ignore},
    {"fps", false, ignore},
};

const Rule* ruleFor(std::string_view arg)
{
    if (arg == "-h")
        return ruleFor("--help");
    if (arg.starts_with("--"))
        arg.remove_prefix(2);
    else if (arg.starts_with('-'))
        arg.remove_prefix(1);
    else
        return nullptr;
    const auto* rule = std::ranges::find(Rules, arg, &Rule::name);
    return rule == std::end(Rules) ? nullptr : rule;
}

} // namespace

std::optional<HackOptions> parseHackOptions(const std::vector<std::string>& args, std::string& error)
{
    HackOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& spelling = args[i];
        const Rule* rule = ruleFor(spelling);
        if (!rule) {
            error = "unknown option \"" + spelling + "\"";
            return std::nullopt;
        }
        std::string_view value;
        if (rule->takesValue) {
            if (++i == args.size()) {
                error = spelling + " needs an argument";
                return std::nullopt;
            }
            value = args[i];
        }
        if (!rule->apply(options, spelling, value, error))
            return std::nullopt;
    }
    return options;
}

std::optional<std::uint32_t> parseWindowId(std::string_view text)
{
    int base = 10;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
        base = 16;
    }
    // from_chars takes no sign for unsigned types, and stops at any other junk.
    std::uint32_t id = 0;
    const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), id, base);
    if (text.empty() || status != std::errc{} || end != text.data() + text.size() || id == 0)
        return std::nullopt;
    return id;
}

SaverSettingsRecord withHackOptions(SaverSettingsRecord settings, const HackOptions& options)
{
    const auto put = [](std::int16_t& field, const std::optional<bool>& option) {
        if (option)
            field = *option ? -1 : 0;
    };
    put(settings.Sound, options.sound);
    put(settings.Hole, options.hole);
    put(settings.Streak, options.streak);
    put(settings.Blank, options.blank);
    if (options.speed)
        settings.Speed = clampedSpeed(*options.speed);
    return settings;
}

std::string hackUsage()
{
    return "Usage: lilywade [OPTION]...\n"
           "Two frogs hop about in a screen-saver host's window (XScreenSaver,\n"
           "xfce4-screensaver, mate-screensaver, xsecurelock) or in a window of their own.\n"
           "\n"
           "  --root                 draw into $XSCREENSAVER_WINDOW, else the root window\n"
           "  --window-id ID         draw into window ID (decimal or 0x hexadecimal)\n"
           "  --speed N              0 (fastest) to 200 (slowest)\n"
           "  --sound, --no-sound    jump sounds\n"
           "  --hole, --no-hole      frog clears the screen when at rest\n"
           "  --streak, --no-streak  frog clears the screen when jumping\n"
           "  --blank, --no-blank    black ground instead of the desktop\n"
           "  --scale N              frogs N times their size, 1 to 4 (default: the\n"
           "                         desktop's scale; a preview shows them in miniature)\n"
           "  --no-stored-settings   options not given take their defaults (XScreenSaver's\n"
           "                         settings dialog passes it)\n"
           "  --help, -h             print this text and exit\n"
           "  --version              print the version and exit\n"
           "  -install, -visual V, -fps   accepted from hosts and ignored\n"
           "Each option may also be written with one dash (-root). Options not given\n"
           "keep what Lilywade Settings stored, unless --no-stored-settings is given.\n"
           "\n"
           "Environment:\n"
           "  XSCREENSAVER_WINDOW       the host's window, used unless --window-id is given\n"
           "  XSCREENSAVER_SAVER_INDEX  set by a locker: the ground is always black\n";
}
