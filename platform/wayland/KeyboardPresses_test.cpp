// Which reports of a keyboard are presses: the ways compositors report a
// keyboard that comes with its first key (sway 1.7 in any of three, by the
// time our keyboard object reaches it), against a key held since before the
// start.
#include "platform/wayland/KeyboardPresses.h"

#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

namespace {

using platform::wayland::KeyboardPresses;

struct Report {
    enum { Keymap, Enter, Leave, Press, Release, Gone } kind;
    std::vector<std::uint32_t> keys = {}; // held at Enter; the one key of Press and Release
};

const Report keymap{Report::Keymap};
const Report leave{Report::Leave};
const Report gone{Report::Gone}; // the seat lost the keyboard
Report enter(std::vector<std::uint32_t> held) { return {Report::Enter, std::move(held)}; }
Report press(std::uint32_t key) { return {Report::Press, {key}}; }
Report release(std::uint32_t key) { return {Report::Release, {key}}; }

struct Case {
    const char* what;
    bool thereBefore; // the seat had the keyboard when bound
    std::vector<Report> reports;
    std::vector<std::uint32_t> presses;
};

std::vector<std::uint32_t> pressesOf(const Case& c)
{
    KeyboardPresses keyboard(c.thereBefore);
    std::vector<std::uint32_t> presses;
    for (const Report& report : c.reports) {
        switch (report.kind) {
        case Report::Keymap: keyboard.keymap(); break;
        case Report::Enter:
            for (const std::uint32_t key : keyboard.enter(report.keys))
                presses.push_back(key);
            break;
        case Report::Leave: keyboard.leave(); break;
        case Report::Gone:
            if (keyboard.goneUnheard())
                presses.push_back(KEY_UNKNOWN);
            break;
        case Report::Press:
        case Report::Release:
            if (keyboard.key(report.keys[0], report.kind == Report::Press))
                presses.push_back(report.keys[0]);
            break;
        }
    }
    return presses;
}

TEST(KeyboardPresses, CountsEveryNewKeyNotOneHeldSinceTheStart)
{
    constexpr std::uint32_t held = KEY_ENTER, a = KEY_A;
    const Case cases[] = {
        {"the Enter that started the program, held at the first enter, then let go", true,
         {keymap, enter({held}), release(held)}, {}},
        {"another key while that Enter is held", true, {keymap, enter({held}), press(a), release(a)}, {a}},
        {"that Enter pressed again after its release", true, {keymap, enter({held}), release(held), press(held)},
         {held}},
        {"a key on the keyboard there before", true, {keymap, enter({}), press(a), release(a)}, {a}},
        {"the release of a key held at the start that the enter did not list", true,
         {keymap, enter({}), release(held)}, {}},
        {"a key held at a later enter on the keyboard there before", true,
         {keymap, enter({}), leave, enter({held}), release(held)}, {}},
        {"a keyboard the seat gained later, its key held at the first enter (sway)", false,
         {keymap, enter({a}), release(a)}, {a}},
        {"a keyboard the seat gained later, its key pressed after the enter", false,
         {keymap, enter({}), press(a), release(a)}, {a}},
        {"a keyboard the seat gained later, an empty enter and the release alone (Mutter 50)", false,
         {keymap, enter({}), release(a)}, {a}},
        {"a keyboard gained later, gone with no key reported: its key was over before it reached us", false,
         {keymap, enter({}), leave, gone}, {KEY_UNKNOWN}},
        {"a keyboard gained later, gone after its key", false, {keymap, enter({a}), release(a), leave, gone}, {a}},
        {"the keyboard there before, gone", true, {keymap, enter({}), leave, gone}, {}},
        {"a key held at a later enter on a keyboard gained later", false,
         {keymap, enter({}), leave, enter({held}), release(held)}, {}},
        {"a new device's keymap, then its key held at an enter (sway)", true,
         {keymap, enter({held}), keymap, enter({a}), release(a)}, {a}},
        {"a new device's keymap, then its press with no enter (sway)", true,
         {keymap, enter({}), keymap, press(a), release(a)}, {a}},
        {"a new device's keymap, then the release alone", true, {keymap, enter({}), keymap, release(a)}, {a}},
        {"the Enter held at the start let go after a new device came", true,
         {keymap, enter({held}), keymap, release(held)}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(pressesOf(c), c.presses);
    }
}

} // namespace
