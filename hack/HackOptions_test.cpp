#include "hack/HackOptions.h"

#include <gtest/gtest.h>

namespace {

// The options in one line, only those given, so that a row reads like the
// command line it comes from.
std::string describe(const HackOptions& o)
{
    std::string text;
    const auto add = [&](const std::string& item) { text += (text.empty() ? "" : " ") + item; };
    const auto flag = [&](const char* name, const std::optional<bool>& value) {
        if (value)
            add(std::string(name) + (*value ? "=on" : "=off"));
    };
    if (o.windowId)
        add("window=" + std::to_string(*o.windowId));
    if (o.root)
        add("root");
    if (o.speed)
        add("speed=" + std::to_string(*o.speed));
    if (o.scale)
        add("scale=" + std::to_string(*o.scale));
    flag("sound", o.sound);
    flag("hole", o.hole);
    flag("streak", o.streak);
    flag("blank", o.blank);
    if (o.noStoredSettings)
        add("no-stored");
    if (o.help)
        add("help");
    if (o.version)
        add("version");
    return text;
}

std::string joined(const std::vector<std::string>& args)
{
    std::string line;
    for (const auto& arg : args)
        line += "[" + arg + "]";
    return line;
}

struct Accepted {
    std::vector<std::string> args;
    std::string options;
};

void PrintTo(const Accepted& row, std::ostream* out)
{
    *out << joined(row.args);
}

class HackOptionsAccepts : public testing::TestWithParam<Accepted> {};

TEST_P(HackOptionsAccepts, TheseCommandLines)
{
    std::string error;
    const auto options = parseHackOptions(GetParam().args, error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(describe(*options), GetParam().options);
}

INSTANTIATE_TEST_SUITE_P(Hack, HackOptionsAccepts, testing::Values(
    Accepted{{}, ""},
    // What the hosts pass.
    Accepted{{"-root"}, "root"},
    Accepted{{"--root"}, "root"},
    Accepted{{"--window-id", "0x1a0000f"}, "window=27262991"},
    Accepted{{"-window-id", "4194311"}, "window=4194311"},
    Accepted{{"--root", "--window-id", "0x400007"}, "window=4194311 root"},
    Accepted{{"-install", "-visual", "default", "-fps", "-root"}, "root"},
    Accepted{{"--install", "--visual", "0x21", "--fps"}, ""},
    Accepted{{"--root", "--speed", "50", "--no-sound", "--hole", "--no-streak", "--blank"},
             "root speed=50 sound=off hole=on streak=off blank=on"},
    Accepted{{"-sound", "-no-hole", "-streak", "-no-blank"},
             "sound=on hole=off streak=on blank=off"},
    // What XScreenSaver's settings dialog writes.
    Accepted{{"--root", "--no-stored-settings", "--speed", "20", "--no-hole", "--streak",
              "--no-sound", "--no-blank"},
             "root speed=20 sound=off hole=off streak=on blank=off no-stored"},
    // Speed: clamped, never wrapped, also beyond every integer type.
    Accepted{{"--speed", "0"}, "speed=0"},
    Accepted{{"-speed", "200"}, "speed=200"},
    Accepted{{"--speed", "201"}, "speed=200"},
    Accepted{{"--speed", "-5"}, "speed=0"},
    Accepted{{"--speed", "+7"}, "speed=7"},
    Accepted{{"--speed", "65636"}, "speed=200"},
    Accepted{{"--speed", "99999999999999999999999"}, "speed=200"},
    Accepted{{"--speed", "-99999999999999999999999"}, "speed=0"},
    Accepted{{"--scale", "1"}, "scale=1"},
    Accepted{{"-scale", "4", "--root"}, "root scale=4"},
    // The last word wins.
    Accepted{{"--sound", "--no-sound"}, "sound=off"},
    Accepted{{"--no-blank", "-blank"}, "blank=on"},
    Accepted{{"--speed", "10", "--speed", "300"}, "speed=200"},
    Accepted{{"--window-id", "5", "-window-id", "0X6"}, "window=6"},
    Accepted{{"--help"}, "help"},
    Accepted{{"-help"}, "help"},
    Accepted{{"-h"}, "help"},
    Accepted{{"--version"}, "version"},
    Accepted{{"-version"}, "version"}));

struct Rejected {
    std::vector<std::string> args;
    std::string error;
};

void PrintTo(const Rejected& row, std::ostream* out)
{
    *out << joined(row.args);
}

class HackOptionsRejects : public testing::TestWithParam<Rejected> {};

TEST_P(HackOptionsRejects, WithOneLineSayingWhy)
{
    std::string error;
    EXPECT_FALSE(parseHackOptions(GetParam().args, error));
    EXPECT_EQ(error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(Hack, HackOptionsRejects, testing::Values(
    Rejected{{"--bogus"}, "unknown option \"--bogus\""},
    Rejected{{"root"}, "unknown option \"root\""},
    Rejected{{"---root"}, "unknown option \"---root\""},
    Rejected{{"--ROOT"}, "unknown option \"--ROOT\""},
    Rejected{{"-"}, "unknown option \"-\""},
    Rejected{{"--"}, "unknown option \"--\""},
    Rejected{{""}, "unknown option \"\""},
    Rejected{{"--h"}, "unknown option \"--h\""},
    Rejected{{"/S"}, "unknown option \"/S\""},
    Rejected{{"--root", "extra"}, "unknown option \"extra\""},
    Rejected{{"--speed=5"}, "unknown option \"--speed=5\""},
    Rejected{{"--window-id"}, "--window-id needs an argument"},
    Rejected{{"--root", "-window-id"}, "-window-id needs an argument"},
    Rejected{{"--speed"}, "--speed needs an argument"},
    Rejected{{"-visual"}, "-visual needs an argument"},
    Rejected{{"--window-id", "0"}, "--window-id: \"0\" is not a window id"},
    Rejected{{"-window-id", "junk"}, "-window-id: \"junk\" is not a window id"},
    Rejected{{"--window-id", "--root"}, "--window-id: \"--root\" is not a window id"},
    Rejected{{"--speed", "fast"}, "--speed: \"fast\" is not a whole number"},
    Rejected{{"--speed", "5.5"}, "--speed: \"5.5\" is not a whole number"},
    Rejected{{"--speed", ""}, "--speed: \"\" is not a whole number"},
    Rejected{{"--speed", "-"}, "--speed: \"-\" is not a whole number"},
    Rejected{{"--speed", " 5"}, "--speed: \" 5\" is not a whole number"},
    Rejected{{"--speed", "0x10"}, "--speed: \"0x10\" is not a whole number"},
    Rejected{{"--scale", "0"}, "--scale: \"0\" is not a scale from 1 to 4"},
    Rejected{{"--scale", "5"}, "--scale: \"5\" is not a scale from 1 to 4"},
    Rejected{{"--scale", "2.5"}, "--scale: \"2.5\" is not a scale from 1 to 4"},
    Rejected{{"--scale", "02"}, "--scale: \"02\" is not a scale from 1 to 4"},
    Rejected{{"--scale"}, "--scale needs an argument"},
    // A good option after a bad one does not hide it.
    Rejected{{"--speed", "x", "--speed", "5"}, "--speed: \"x\" is not a whole number"},
    Rejected{{"--help", "--bogus"}, "unknown option \"--bogus\""}));

struct IdText {
    const char* text;
    std::optional<std::uint32_t> id;
};

void PrintTo(const IdText& row, std::ostream* out)
{
    *out << '"' << row.text << '"';
}

class HackWindowId : public testing::TestWithParam<IdText> {};

TEST_P(HackWindowId, ReadsWhatHostsWrite)
{
    EXPECT_EQ(parseWindowId(GetParam().text), GetParam().id) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Hack, HackWindowId, testing::Values(
    IdText{"123", 123u},
    IdText{"0x1a0000f", 0x1a0000fu},
    IdText{"0X1A0000F", 0x1a0000fu},
    IdText{"0xffffffff", 0xffffffffu},
    IdText{"4294967295", 4294967295u},
    IdText{"0123", 123u}, // decimal, as xsecurelock writes it: no octal
    IdText{"0x00000001", 1u},
    IdText{"", std::nullopt},
    IdText{"0", std::nullopt},
    IdText{"0x0", std::nullopt},
    IdText{"0x", std::nullopt},
    IdText{"x12", std::nullopt},
    IdText{"4294967296", std::nullopt},
    IdText{"0x100000000", std::nullopt},
    IdText{"99999999999999999999", std::nullopt},
    IdText{"-1", std::nullopt},
    IdText{"+5", std::nullopt},
    IdText{"0x-5", std::nullopt},
    IdText{"0x+5", std::nullopt},
    IdText{"12a", std::nullopt},
    IdText{"0x12g", std::nullopt},
    IdText{"0x0x12", std::nullopt},
    IdText{"1a", std::nullopt},
    IdText{" 12", std::nullopt},
    IdText{"12 ", std::nullopt},
    IdText{"1e3", std::nullopt}));

TEST(HackSettings, GivenOptionsReplaceStoredValuesOthersStay)
{
    const SaverSettingsRecord stored{.Hole = -1, .Streak = 0, .Sound = -1, .Blank = 0, .Speed = 70};
    EXPECT_EQ(withHackOptions(stored, HackOptions{}), stored);

    HackOptions flipped;
    flipped.hole = false;
    flipped.streak = true;
    flipped.sound = false;
    flipped.blank = true;
    flipped.speed = 0;
    EXPECT_EQ(withHackOptions(stored, flipped),
              (SaverSettingsRecord{.Hole = 0, .Streak = -1, .Sound = 0, .Blank = -1, .Speed = 0}));

    HackOptions some;
    some.sound = true;
    some.speed = 200;
    EXPECT_EQ(withHackOptions(SaverSettingsRecord{}, some),
              (SaverSettingsRecord{.Hole = 0, .Streak = 0, .Sound = -1, .Blank = 0, .Speed = 200}));

    // A record that did not come from the parser is clamped all the same.
    HackOptions wild;
    wild.speed = -3;
    EXPECT_EQ(withHackOptions(stored, wild).Speed, 0);
    wild.speed = 1000;
    EXPECT_EQ(withHackOptions(stored, wild).Speed, MaxSpeed);
}

TEST(HackUsage, NamesEveryOptionAndTheEnvironmentOnLinesOfTheirOwn)
{
    const std::string usage = hackUsage();
    for (const char* word : {"--root", "--window-id ID", "--speed N", "--sound", "--no-sound",
                             "--hole", "--no-hole", "--streak", "--no-streak", "--blank",
                             "--no-blank", "--no-stored-settings", "--help", "--version", "-install", "-visual", "-fps",
                             "\n  XSCREENSAVER_WINDOW ", "\n  XSCREENSAVER_SAVER_INDEX "})
        EXPECT_NE(usage.find(word), std::string::npos) << word;

    // Every option the usage shows is one the parser takes.
    for (const char* shown : {"--root", "--sound", "--no-sound", "--hole", "--no-hole", "--streak",
                              "--no-streak", "--blank", "--no-blank", "--no-stored-settings",
                              "--help", "--version",
                              "-install", "-fps"}) {
        std::string error;
        EXPECT_TRUE(parseHackOptions({shown}, error)) << shown << ": " << error;
    }

    EXPECT_TRUE(usage.ends_with('\n'));
    for (std::size_t start = 0, end; (end = usage.find('\n', start)) != std::string::npos;
         start = end + 1)
        EXPECT_LE(end - start, 79u) << usage.substr(start, end - start);
}

} // namespace
