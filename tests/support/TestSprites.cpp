#include "tests/support/TestSprites.h"

#include <random>

namespace testsprites {

namespace {

constexpr int Centre = CellSize / 2;

// A sitting frog is a disc; a leaping one a 27 x 95 ellipse along its heading.
bool inside(int k, int x, int y)
{
    const double dx = x - Centre, dy = y - Centre;
    if (k <= 4)
        return dx * dx + dy * dy <= 26.0 * 26.0;
    const bool vertical = k == 5 || k == 7;
    const double across = vertical ? dx : dy, along = vertical ? dy : dx;
    return (across * across) / (13.5 * 13.5) + (along * along) / (47.5 * 47.5) <= 1.0;
}

QRgb skin(bool green, int x, int y)
{
    if ((x + 2 * y) % 11 == 0)
        return PureBlack;
    if ((2 * x + y) % 13 == 0)
        return NearBlack;
    return green ? qRgb(0, 255, 0) : qRgb(255, 0, 0);
}

QImage picture(int k, bool green)
{
    QImage image(CellSize, CellSize, QImage::Format_RGB32);
    for (int y = 0; y < CellSize; ++y)
        for (int x = 0; x < CellSize; ++x)
            image.setPixel(x, y, inside(k, x, y) ? skin(green, x, y) : PureBlack);
    return image;
}

QImage mask(int k)
{
    QImage image(CellSize, CellSize, QImage::Format_RGB32);
    for (int y = 0; y < CellSize; ++y)
        for (int x = 0; x < CellSize; ++x)
            image.setPixel(x, y, inside(k, x, y) ? PureBlack : qRgb(255, 255, 255));
    return image;
}

} // namespace

SpriteSet make()
{
    SpriteSet set;
    for (int k = 1; k <= 8; ++k) {
        set.green[k - 1] = picture(k, true);
        set.red[k - 1] = picture(k, false);
        set.mask[k - 1] = mask(k);
    }
    set.preview = uniform(160, 120, qRgb(192, 192, 192));
    return set;
}

bool inSilhouette(int k, int x, int y) { return inside(k, x, y); }

int silhouettePixels(int k)
{
    int count = 0;
    for (int y = 0; y < CellSize; ++y)
        for (int x = 0; x < CellSize; ++x)
            count += inside(k, x, y);
    return count;
}

namespace {

template <typename Paint>
QImage overCell(const QImage& ground, int k, int x, int y, Paint paint)
{
    QImage result = ground.copy();
    for (int cy = 0; cy < CellSize; ++cy)
        for (int cx = 0; cx < CellSize; ++cx)
            if (inside(k, cx, cy) && result.valid(x + cx, y + cy))
                result.setPixel(x + cx, y + cy, paint(cx, cy));
    return result;
}

} // namespace

QImage withFrog(const QImage& ground, const SpriteSet& set, bool green, int k, int x, int y)
{
    const QImage& frame = (green ? set.green : set.red)[k - 1];
    return overCell(ground, k, x, y, [&](int cx, int cy) { return frame.pixel(cx, cy); });
}

QImage withHole(const QImage& ground, int k, int x, int y)
{
    return overCell(ground, k, x, y, [](int, int) { return PureBlack; });
}

QImage noise(int width, int height, unsigned seed)
{
    std::mt19937 random(seed);
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, 0xff000000u | (random() & 0xffffffu));
    return image;
}

QImage uniform(int width, int height, QRgb colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

} // namespace testsprites
