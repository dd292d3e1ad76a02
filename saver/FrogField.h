#pragma once
// A window with two frogs hopping on a ground: the canvas it repaints itself
// from, the drawing, the frogs' state, the jumps and the two timers. The saver
// window is one; the hack's window, inside a screen-saver host's, is another.

#include "platform/Platform.h"
#include "saver/FrogState.h"
#include "saver/Jumps.h"
#include "saver/MoveScheduler.h"
#include "sprites/FrogDrawing.h"
#include "sprites/SpriteSet.h"

#include <QImage>
#include <QWindow>
#include <memory>

class FrogField : public QWindow {
public:
    /** The persistent image the window repaints itself from. */
    const QImage& canvas() const { return canvas_->image(); }
    MoveScheduler& scheduler() { return scheduler_; }
    const FrogState& greenFrog() const { return GreenFrog; }
    const FrogState& redFrog() const { return RedFrog; }
    /** Screen pixels per frog pixel. */
    double frogScale() const { return sprites_.scale; }

protected:
    /** A plain window over a canvas of size, left unfilled for the ground;
     *  Timer2 runs from here on. */
    FrogField(platform::Platform& platform, const SpriteSet& sprites, QSize size,
              QWindow* parent = nullptr);

    /** Seeds the random numbers and sets the frogs down at their starting places. */
    void placeFrogs();
    /** The canvas and the window take a new size: what is drawn stays, new ground is black. */
    void growOrShrink(QSize size);
    /** The canvas becomes ground (of the window's size), and the frogs are drawn
     *  on it where they rest. */
    void replaceGround(QImage ground);

    /** Puts the rectangle straight from the canvas: the toolkit keeps no buffer of the window. */
    void paintEvent(QPaintEvent* event) override;

    platform::Platform& platform_;
    /** What the window shows, held by the platform, which puts it on screen. */
    std::unique_ptr<platform::WindowCanvas> canvas_;

private:
    const SpriteSet& sprites_;
    FrogDrawing drawing_;
    FrogState GreenFrog;
    FrogState RedFrog;
    Jumps jumps_;
    MoveScheduler scheduler_;
};
