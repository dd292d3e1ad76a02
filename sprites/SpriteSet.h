#pragma once
// The frog pictures, masks and preview still, decoded from the data held in
// the program.

#include <QImage>
#include <array>

/** Every frame, mask and work picture is a CellSize x CellSize square. */
inline constexpr int CellSize = 95;

/** The pictures as RGB32 images; index 0..7 of each array holds frame 1..8. */
struct SpriteSet {
    std::array<QImage, 8> green; // PicFrog: GreenFrog's frames
    std::array<QImage, 8> red;   // PicRed: RedFrog's frames
    std::array<QImage, 8> mask;  // PicMask: shared by both frogs
    QImage preview;              // the 160 x 120 preview still
};

/** Decodes the embedded pictures on first use; later calls return the same set. */
const SpriteSet& loadSprites();
