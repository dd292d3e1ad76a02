#pragma once
// The saver window: the desktop snapshot (or black) full-screen, two frogs
// hopping on it, and the end of the program on the first real input.

#include "saver/FrogField.h"
#include "saver/PointerRule.h"

class frog1 : public FrogField {
public:
    /** Creates the window hidden and loads it: frogs placed, screen copied. */
    frog1(platform::Platform& platform, const SpriteSet& sprites);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void Load();
    /** The whole screen changed size (a monitor came or went): so does the window,
     *  keeping what is drawn; new ground is black. */
    void screenResized(QSize size);

    PointerRule pointer_;
};
