#pragma once
// Checks of every rule the drawing code relies on in the frog pictures. Each
// check is a function over decoded images or raw bitmap bytes and returns the
// problems it found, so tests run it on the committed art and on deliberately
// broken copies of it alike.

#include "sprites/SpriteSet.h"

#include <QByteArray>
#include <QImage>
#include <QMap>
#include <QRect>
#include <QStringList>
#include <vector>

namespace art {

using Problems = QStringList;

/** The pixels a frog covers: every non-black pixel, and every black pixel that
 *  the frog encloses (not 4-connected through black pixels to the border). */
struct Shape {
    int width = 0;
    int height = 0;
    std::vector<bool> inside;

    bool contains(int x, int y) const { return inside[std::size_t(y) * width + x]; }
    int count() const;
    QRect extent() const;
    bool operator==(const Shape&) const = default;
};

Shape shapeOf(const QImage& frame);
/** The black pixels of a mask. */
Shape shapeOfMask(const QImage& mask);
/** The image turned clockwise by the given number of quarter turns: a quarter
 *  turn takes (x, y) to (size - 1 - y, x). */
QImage turned(const QImage& image, int quarters);

/** Skin spot pixels of one frame by colour. */
struct SpotCounts {
    int black = 0;     // (0,0,0) inside the silhouette
    int darkRed = 0;   // (3,0,0)
    int nearBlack = 0; // (2,1,0)
};
SpotCounts spotsOf(const QImage& frame, const Shape& shape);

Problems checkColours(const QImage& frame, const QList<QRgb>& allowed);
Problems checkShape(const Shape& shape, const QRect& extent, int pixels);
Problems checkMask(const QImage& mask, const Shape& shape);
Problems checkSpots(const QImage& frame, const Shape& shape, SpotCounts expected);
Problems checkPupils(const QImage& frame, QRgb pupil);
/** `frame` must be `upright` turned by `quarters`, except that a skin spot of
 *  the upright frame shows as (2,1,0) in a turned one. */
Problems checkTurn(const QImage& upright, const QImage& frame, int quarters);
Problems checkPreview(const QImage& still, const QImage& redUpright, const Shape& shape);

/** What the header and palette of one bitmap file must say. */
struct BitmapFormat {
    int width = CellSize;
    int height = CellSize;
    bool rle8 = false;
    QList<QRgb> palettePrefix; // the first palette entries
};
/** Reads the header, palette and pixel data strictly: 8-bit, BITMAPINFOHEADER,
 *  96 dpi, 256 palette entries, RLE8 without delta escapes and with complete
 *  rows; the pixels must match what QImage decodes from the same bytes. */
Problems checkBitmapFile(const QByteArray& bytes, const BitmapFormat& expected);
/** The 256 palette entries of a bitmap file, or none if it has no full table. */
QList<QRgb> paletteOf(const QByteArray& bytes);

/** Every picture rule, over the decoded set. */
Problems validateSprites(const SpriteSet& set);
/** Every file rule, over the files' bytes by name ("green-1.bmp", ...). */
Problems validateFiles(const QMap<QString, QByteArray>& files);
/** The 25 file names of the art. */
QStringList artFileNames();

} // namespace art
