// The pictures are bitmaps compiled into the program as Qt resources under
// :/art; QImage decodes them, and everything downstream works on RGB32.
#include "sprites/SpriteSet.h"

#include <QImageReader>
#include <QString>

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
