#include "platform/wayland/KeyboardPresses.h"

namespace platform::wayland {

void KeyboardPresses::keymap()
{
    // A compositor that merges its devices into one keyboard tells of a new
    // one (sway: each virtual keyboard) by sending that device's keymap.
    if (keymapSeen_) {
        fresh_ = true;
        countsUnseenReleases_ = true;
    }
    keymapSeen_ = true;
}

std::vector<std::uint32_t> KeyboardPresses::enter(std::span<const std::uint32_t> held)
{
    // A new keyboard's first key may show only here; on any other keyboard a
    // key held at the focus's coming went down before, or elsewhere.
    heard_ = heard_ || !held.empty();
    std::vector<std::uint32_t> presses;
    for (const std::uint32_t key : held)
        if (down_.insert(key).second && fresh_)
            presses.push_back(key);
    fresh_ = false;
    return presses;
}

bool KeyboardPresses::key(std::uint32_t key, bool pressed)
{
    fresh_ = false;
    heard_ = true;
    if (pressed) {
        down_.insert(key);
        return true;
    }
    // A new keyboard whose press was reported nowhere (Mutter sends its first
    // key as an empty enter and the release alone).
    return down_.erase(key) == 0 && countsUnseenReleases_;
}

} // namespace platform::wayland
