// Writes a contact sheet of the frog art: every frame, every mask and the
// preview still, scaled 4x without smoothing, so that people can look at the
// frogs. Usage: contact_sheet [output.png]
#include "sprites/SpriteSet.h"

#include <QGuiApplication>
#include <QPainter>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int Scale = 4;
constexpr int Gap = 16;
constexpr int LabelHeight = 20;
constexpr int Tile = CellSize * Scale;
constexpr int RowHeight = LabelHeight + Tile + Gap;

void drawTile(QPainter& painter, const QImage& image, QPoint at, const QString& name)
{
    painter.drawText(QRect(at.x(), at.y(), Tile, LabelHeight), Qt::AlignLeft | Qt::AlignVCenter, name);
    painter.drawImage(at + QPoint(0, LabelHeight),
                      image.scaled(image.size() * Scale, Qt::IgnoreAspectRatio, Qt::FastTransformation));
}

bool complete(const SpriteSet& set)
{
    for (int k = 0; k < 8; ++k)
        if (set.green[k].isNull() || set.red[k].isNull() || set.mask[k].isNull())
            return false;
    return !set.preview.isNull();
}

} // namespace

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    const QString path = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("contact-sheet.png");
    const SpriteSet& set = loadSprites();
    if (!complete(set)) {
        std::fprintf(stderr, "contact_sheet: the embedded art did not decode\n");
        return 1;
    }

    QImage sheet(Gap + 8 * (Tile + Gap), Gap + 3 * RowHeight + LabelHeight + set.preview.height() * Scale + Gap,
                 QImage::Format_RGB32);
    sheet.fill(QColor(64, 64, 64)); // shows the frames' black ground as squares
    QPainter painter(&sheet);
    painter.setPen(Qt::white);
    const std::pair<const char*, const std::array<QImage, 8>*> rows[] = {
        {"green", &set.green}, {"red", &set.red}, {"mask", &set.mask}};
    for (int r = 0; r < 3; ++r)
        for (int k = 0; k < 8; ++k)
            drawTile(painter, (*rows[r].second)[k], QPoint(Gap + k * (Tile + Gap), Gap + r * RowHeight),
                     QStringLiteral("%1-%2").arg(QLatin1String(rows[r].first)).arg(k + 1));
    drawTile(painter, set.preview, QPoint(Gap, Gap + 3 * RowHeight), QStringLiteral("preview"));
    painter.end();

    if (!sheet.save(path)) {
        std::fprintf(stderr, "contact_sheet: cannot write %s\n", qPrintable(path));
        return 1;
    }
    return 0;
}
