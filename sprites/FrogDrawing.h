#pragma once
// Putting a masked frog frame on a window's canvas: five block-transfer
// operations over the canvas and three work pictures of a frog's cell; the
// frame's changed rectangle goes on screen through the canvas. Places are
// given in frog pixels, each of which is the sprites' scale in screen pixels
// on the canvas.

#include "platform/BitBlt.h"
#include "platform/Platform.h"
#include "sprites/SpriteSet.h"

#include <QImage>
#include <QRect>
#include <cstdint>

/** Which of the two frogs, and so which frame set and save buffer, an operation is for. */
enum class FrogKind { Green, Red };

/** What the drawing knows of a frog: its pictures, and where it was last
 *  drawn (the place its saved background belongs to), in frog pixels. */
struct FrogSprite {
    FrogKind kind = FrogKind::Green;
    std::int16_t DrawnX = 0;
    std::int16_t DrawnY = 0;
};

/** The canvas, the work pictures and the five drawing operations. Frame and
 *  mask indexes k run 1..8. */
class FrogDrawing {
public:
    /** canvas (the window's) is drawn on and refreshed; it outlives this object. */
    FrogDrawing(platform::WindowCanvas& canvas, const SpriteSet& sprites);

    /** Copies the frog's saved background back onto its last drawn place. */
    void RestoreBackground(const FrogSprite& frog);
    /** ANDs mask k onto the canvas at (x, y): a black silhouette, the rest unchanged. */
    void StampMask(int k, std::int16_t x, std::int16_t y);
    /** Copies the canvas cell at (x, y) into the frog's save buffer. */
    void SaveBackground(const FrogSprite& frog, std::int16_t x, std::int16_t y);
    /** Builds frame k of the frog over its saved background in PicFrogMix. */
    void ComposeFrame(const FrogSprite& frog, int k);
    /** Copies PicFrogMix onto the canvas at (x, y), records the place as the
     *  frog's drawn place and refreshes the union of the old and the new cell:
     *  the rectangle the step changed. */
    void PresentFrame(FrogSprite& frog, std::int16_t x, std::int16_t y);

    QImage& savedBackground(FrogKind kind);
    /** A size in screen pixels (the window's: the world the frogs move in) in
     *  whole frog pixels. */
    QSize inFrogPixels(QSize size) const;

    // The work pictures; they live as long as the saver window.
    QImage PicFrogTemp;    // under GreenFrog
    QImage PicRedFrogTemp; // under RedFrog
    QImage PicFrogMix;     // the frame being composed

private:
    const QImage& frame(FrogKind kind, int k) const;
    /** A place in frog pixels on the canvas, in screen pixels. */
    int onCanvas(std::int16_t at) const;
    /** The cell at a frog's place, in screen pixels. */
    QRect cell(std::int16_t x, std::int16_t y) const;
    /** Blacks out mask k on target at (x, y) (screen pixels). */
    void applyMask(QImage& target, int x, int y, int k);

    /** The image the canvas shows now. */
    QImage& picture() { return canvas_.image(); }

    platform::WindowCanvas& canvas_;
    const SpriteSet& sprites_;
};
