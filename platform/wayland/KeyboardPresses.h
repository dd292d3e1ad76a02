#pragma once
// Which keys a keyboard's reports say the user pressed. A keyboard that
// comes with its first key (a virtual one, a remote desktop's, one plugged
// in) may have that press reported only in the list of keys held at the
// focus's enter, only by its release, or, when it was over before the
// compositor learnt of our keyboard object, not at all; a key that was
// already held when the program started (the Enter that started it) is no
// press.

#include <cstdint>
#include <set>
#include <span>
#include <vector>

namespace platform::wayland {

/** Reports of one wl_keyboard in, the presses they mean out. Pure. */
class KeyboardPresses {
public:
    /** thereBefore: the seat had this keyboard when the program bound it. */
    explicit KeyboardPresses(bool thereBefore)
        : cameLater_(!thereBefore), fresh_(!thereBefore), countsUnseenReleases_(!thereBefore)
    {
    }

    /** A keymap came. After the first, a device joined the seat: it counts from its first report. */
    void keymap();
    /** The focus came with keys held: those that count as presses. */
    std::vector<std::uint32_t> enter(std::span<const std::uint32_t> held);
    /** The focus went: no key is known to be down any more. */
    void leave() { down_.clear(); }
    /** A key went down or up: true when that counts as a press. */
    bool key(std::uint32_t key, bool pressed);
    /** True when the keyboard's going counts as a press: it came after the
     *  start and goes having reported no key, whose press and release were
     *  both over before it reached us. */
    bool goneUnheard() const { return cameLater_ && !heard_; }

private:
    const bool cameLater_;
    bool keymapSeen_ = false;
    bool heard_ = false;        // a key was reported, held or as a key event
    bool fresh_;                // keys held at the next enter count as presses
    bool countsUnseenReleases_; // a release of a key not known to be down counts as a press
    std::set<std::uint32_t> down_;
};

} // namespace platform::wayland
