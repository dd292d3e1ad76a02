#pragma once
// The frogs as a screen-saver host's hack: a window filling the host's window
// (or, to try it, one of its own) over the host's copy of the screen or black.
// It takes no input and holds nothing: the host ends it.

#include "saver/FrogField.h"

#include <functional>

class FrogHack : public FrogField {
public:
    /** Gives the ground for a window of a size; taken again at every new size. */
    using GroundSource = std::function<QImage(QSize)>;

    /** A window of size inside host, or with no host a window of its own titled
     *  "Lilywade"; created hidden, frogs placed, ground laid. */
    FrogHack(platform::Platform& platform, const SpriteSet& sprites, QWindow* host, QSize size,
             GroundSource groundFor);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    GroundSource groundFor_;
};
