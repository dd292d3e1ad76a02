#pragma once
// The frog pictures, masks and preview still, decoded from the data held in
// the program, and the same pictures at a frog scale other than 1.

#include <QImage>
#include <array>

/** Every frame, mask and work picture of the art is a CellSize x CellSize square. */
inline constexpr int CellSize = 95;

/** The pictures as RGB32 images; index 0..7 of each array holds frame 1..8. */
struct SpriteSet {
    std::array<QImage, 8> green; // PicFrog: GreenFrog's frames
    std::array<QImage, 8> red;   // PicRed: RedFrog's frames
    std::array<QImage, 8> mask;  // PicMask: shared by both frogs
    QImage preview;              // the 160 x 120 preview still
    /** Screen pixels per frog pixel: the frogs' world is drawn this much larger. */
    double scale = 1;
    /** The side of every frame, mask and work picture, in screen pixels. */
    int cell = CellSize;
    /** The masks hold grey edges (a smooth reduction): they blend rather than
     *  cut, and the frames add onto the masked ground instead of XORing. */
    bool blended = false;
};

/** Decodes the embedded pictures on first use; later calls return the same set. */
const SpriteSet& loadSprites();

/** The frames and masks of base (at scale 1) at scale: a whole scale repeats
 *  each pixel scale x scale times, so the art stays crisp; any other scale
 *  resamples them smoothly, and the set blends. Scale 1 is base itself. */
SpriteSet scaledSprites(const SpriteSet& base, double scale);
