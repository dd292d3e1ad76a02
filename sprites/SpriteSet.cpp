// The pictures are bitmaps compiled into the program as Qt resources under
// :/art; QImage decodes them, and everything downstream works on RGB32.
#include "sprites/SpriteSet.h"

#include <QImageReader>
#include <QString>
#include <algorithm>
#include <cmath>

namespace {

QImage decode(const QString& name)
{
    // Qt's built-in BMP reader only: left to guess, Qt loads and asks every
    // image plugin (JPEG, GIF, ICO ...) first, which costs start-up time and memory.
    QImageReader reader(QStringLiteral(":/art/%1.bmp").arg(name), "bmp");
    reader.setAutoDetectImageFormat(false);
    return reader.read().convertToFormat(QImage::Format_RGB32);
}

SpriteSet decodeAll()
{
    SpriteSet set;
    for (int k = 1; k <= 8; ++k) {
        set.green[k - 1] = decode(QStringLiteral("green-%1").arg(k));
        set.red[k - 1] = decode(QStringLiteral("red-%1").arg(k));
        set.mask[k - 1] = decode(QStringLiteral("mask-%1").arg(k));
    }
    set.preview = decode(QStringLiteral("preview"));
    return set;
}

} // namespace

const SpriteSet& loadSprites()
{
    static const SpriteSet set = decodeAll();
    return set;
}

SpriteSet scaledSprites(const SpriteSet& base, double scale)
{
    SpriteSet set = base;
    set.scale = scale;
    const bool whole = scale == std::round(scale);
    set.cell = std::max(1, int(std::lround(CellSize * scale)));
    set.blended = !whole;
    if (scale == 1)
        return set;
    // Area averaging (Qt's smooth reduction) keeps a mask's all-black and
    // all-white areas exact and greys only its edges; a frame's edge pixels
    // come out darkened in proportion, which is what adding them onto the
    // masked ground needs.
    const Qt::TransformationMode mode = whole ? Qt::FastTransformation : Qt::SmoothTransformation;
    for (auto* pictures : {&set.green, &set.red, &set.mask})
        for (QImage& picture : *pictures)
            picture = picture.scaled(set.cell, set.cell, Qt::IgnoreAspectRatio, mode)
                          .convertToFormat(QImage::Format_RGB32);
    return set;
}
