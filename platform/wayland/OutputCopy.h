#pragma once
// A copy of what one output shows, under way: what the copies by each
// screen copy protocol have in common (OutputCopyProtocol.h picks one).

namespace platform::wayland {

/** One copy of one output under way; the compositor answers asynchronously. */
class OutputCopy {
public:
    virtual ~OutputCopy() = default;
    /** True once the copy arrived or failed. */
    virtual bool isFinished() const = 0;
};

} // namespace platform::wayland
