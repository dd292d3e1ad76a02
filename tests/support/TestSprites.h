#pragma once
// Synthetic frog pictures for tests: elliptic silhouettes with the colours and
// black spots that matter to the drawing, and helpers to look at images.

#include "sprites/SpriteSet.h"

#include <QImage>
#include <QRgb>

namespace testsprites {

/** Skin-spot colours that must show as they are: pure black and near-black. */
inline constexpr QRgb PureBlack = 0xff000000;
inline constexpr QRgb NearBlack = 0xff020100;

/** Eight frames per frog and eight masks: frames 1..4 a disc, 5..8 a long
 *  ellipse along the heading; every frame has pure black and near-black spots. */
SpriteSet make();

/** True where mask k (1..8) of make() is black, in cell coordinates. */
bool inSilhouette(int k, int x, int y);

/** Number of black pixels of mask k of make(). */
int silhouettePixels(int k);

/** ground with frame k (1..8) of make()'s green or red frog at (x, y): the
 *  frog's pixels on the silhouette, the ground elsewhere, cut at the edges. */
QImage withFrog(const QImage& ground, const SpriteSet& set, bool green, int k, int x, int y);

/** ground with the silhouette of mask k blacked out at (x, y). */
QImage withHole(const QImage& ground, int k, int x, int y);

/** An RGB32 image filled with pseudo-random colours (fixed seed). */
QImage noise(int width, int height, unsigned seed = 1);

/** An RGB32 image of one colour. */
QImage uniform(int width, int height, QRgb colour);

} // namespace testsprites
