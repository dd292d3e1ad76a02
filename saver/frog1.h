#pragma once
// The saver window: the desktop snapshot (or black) full-screen, two frogs
// hopping on it, and the end of the program on the first real input.

#include "platform/Platform.h"
#include "saver/FrogState.h"
#include "saver/Jumps.h"
#include "saver/MoveScheduler.h"
#include "saver/PointerRule.h"
#include "sprites/FrogDrawing.h"
#include "sprites/SpriteSet.h"

#include <QImage>
#include <QWindow>

class frog1 : public QWindow {
public:
    /** Creates the window hidden and loads it: frogs placed, screen copied. */
    frog1(platform::Platform& platform, const SpriteSet& sprites);

    /** The persistent image the window repaints itself from. */
    const QImage& canvas() const { return canvas_; }
    MoveScheduler& scheduler() { return scheduler_; }
    const FrogState& greenFrog() const { return GreenFrog; }
    const FrogState& redFrog() const { return RedFrog; }

protected:
    /** Puts the rectangle straight from the canvas: the toolkit keeps no buffer of the window. */
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void Load();
    /** The whole screen changed size (a monitor came or went): so does the window. */
    void screenResized(QSize size);

    platform::Platform& platform_;
    QImage canvas_;
    FrogDrawing drawing_;
    FrogState GreenFrog;
    FrogState RedFrog;
    Jumps jumps_;
    MoveScheduler scheduler_;
    PointerRule pointer_;
};
