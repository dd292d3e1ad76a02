#include "tests/art/ArtValidator.h"

#include <QtEndian>
#include <algorithm>
#include <array>
#include <optional>

namespace art {
namespace {

constexpr QRgb Black = 0xff000000;
constexpr QRgb White = 0xffffffff;
constexpr QRgb Yellow = 0xffffff00;
constexpr QRgb DarkRed = 0xff030000;   // some spots of GreenFrog's upright leap
constexpr QRgb NearBlack = 0xff020100; // every spot of a turned frame
constexpr QRgb Grey = 0xff808080;
constexpr QRgb SittingPupil = 0xff6e87a4;
constexpr QRgb LeapingPupil = 0xffa0cfa9;

constexpr int GreenSpots = 40;
constexpr int RedSpots = 36;
constexpr int PixelsPerMetre = 3780; // 96 dpi
constexpr int PaletteEntries = 256;
constexpr int PaletteOffset = 14 + 40;
constexpr int PixelOffset = PaletteOffset + 4 * PaletteEntries;

struct FrameRule {
    QRect extent;
    int pixels;
};

// Silhouette extent and size of frames 1..8.
const std::array<FrameRule, 8> Frames{{
    {QRect(QPoint(22, 17), QPoint(73, 71)), 1498},
    {QRect(QPoint(23, 22), QPoint(77, 73)), 1498},
    {QRect(QPoint(21, 23), QPoint(72, 77)), 1498},
    {QRect(QPoint(17, 21), QPoint(71, 72)), 1498},
    {QRect(QPoint(33, 0), QPoint(60, 94)), 1468},
    {QRect(QPoint(0, 33), QPoint(94, 60)), 1468},
    {QRect(QPoint(34, 0), QPoint(61, 94)), 1468},
    {QRect(QPoint(0, 34), QPoint(94, 61)), 1468},
}};

QString colourName(QRgb c)
{
    return QStringLiteral("(%1,%2,%3)").arg(qRed(c)).arg(qGreen(c)).arg(qBlue(c));
}

QString at(int x, int y)
{
    return QStringLiteral("(%1, %2)").arg(x).arg(y);
}

// Adds the problems of one check, each prefixed with where it was found.
void add(Problems& all, const QString& where, const Problems& found)
{
    for (const QString& problem : found)
        all << where + QStringLiteral(": ") + problem;
}

// Pixel-by-pixel problems are capped so that a badly broken file stays readable.
void addPixelProblem(Problems& problems, int& reported, const QString& text)
{
    if (++reported <= 3)
        problems << text;
}

void addOverflow(Problems& problems, int reported)
{
    if (reported > 3)
        problems << QStringLiteral("... %1 such pixels in all").arg(reported);
}

quint32 le32(const QByteArray& bytes, int offset)
{
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}

quint16 le16(const QByteArray& bytes, int offset)
{
    return qFromLittleEndian<quint16>(bytes.constData() + offset);
}

bool isUpright(int frame)
{
    return frame == 1 || frame == 5;
}

int uprightOf(int frame)
{
    return frame <= 4 ? 1 : 5;
}

} // namespace

int Shape::count() const
{
    return int(std::count(inside.begin(), inside.end(), true));
}

QRect Shape::extent() const
{
    QRect box;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (contains(x, y))
                box |= QRect(x, y, 1, 1);
    return box;
}

Shape shapeOf(const QImage& frame)
{
    // Flood the black pixels reachable from the border; the rest is the frog.
    Shape shape{frame.width(), frame.height(), {}};
    std::vector<bool> outside(std::size_t(shape.width) * shape.height, false);
    std::vector<QPoint> todo;
    auto visit = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= shape.width || y >= shape.height)
            return;
        const std::size_t i = std::size_t(y) * shape.width + x;
        if (!outside[i] && frame.pixel(x, y) == Black) {
            outside[i] = true;
            todo.emplace_back(x, y);
        }
    };
    for (int x = 0; x < shape.width; ++x) {
        visit(x, 0);
        visit(x, shape.height - 1);
    }
    for (int y = 0; y < shape.height; ++y) {
        visit(0, y);
        visit(shape.width - 1, y);
    }
    while (!todo.empty()) {
        const QPoint p = todo.back();
        todo.pop_back();
        visit(p.x() + 1, p.y());
        visit(p.x() - 1, p.y());
        visit(p.x(), p.y() + 1);
        visit(p.x(), p.y() - 1);
    }
    shape.inside.resize(outside.size());
    std::transform(outside.begin(), outside.end(), shape.inside.begin(), [](bool o) { return !o; });
    return shape;
}

Shape shapeOfMask(const QImage& mask)
{
    Shape shape{mask.width(), mask.height(), {}};
    for (int y = 0; y < shape.height; ++y)
        for (int x = 0; x < shape.width; ++x)
            shape.inside.push_back(mask.pixel(x, y) == Black);
    return shape;
}

QImage turned(const QImage& image, int quarters)
{
    QImage out = image;
    for (int q = 0; q < quarters; ++q) {
        QImage next(out.height(), out.width(), out.format());
        for (int y = 0; y < out.height(); ++y)
            for (int x = 0; x < out.width(); ++x)
                next.setPixel(out.height() - 1 - y, x, out.pixel(x, y));
        out = next;
    }
    return out;
}

SpotCounts spotsOf(const QImage& frame, const Shape& shape)
{
    SpotCounts spots;
    for (int y = 0; y < frame.height(); ++y) {
        for (int x = 0; x < frame.width(); ++x) {
            const QRgb c = frame.pixel(x, y);
            spots.black += c == Black && shape.contains(x, y);
            spots.darkRed += c == DarkRed;
            spots.nearBlack += c == NearBlack;
        }
    }
    return spots;
}

Problems checkColours(const QImage& frame, const QList<QRgb>& allowed)
{
    Problems problems;
    int reported = 0;
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x)
            if (!allowed.contains(frame.pixel(x, y)))
                addPixelProblem(problems, reported,
                                QStringLiteral("colour %1 at %2 is not in the colour table")
                                    .arg(colourName(frame.pixel(x, y)), at(x, y)));
    addOverflow(problems, reported);
    return problems;
}

Problems checkShape(const Shape& shape, const QRect& extent, int pixels)
{
    Problems problems;
    if (shape.count() != pixels)
        problems << QStringLiteral("silhouette has %1 pixels, not %2").arg(shape.count()).arg(pixels);
    const QRect box = shape.extent();
    if (box != extent)
        problems << QStringLiteral("silhouette spans columns %1..%2, rows %3..%4, not %5..%6, %7..%8")
                        .arg(box.left()).arg(box.right()).arg(box.top()).arg(box.bottom())
                        .arg(extent.left()).arg(extent.right()).arg(extent.top()).arg(extent.bottom());
    return problems;
}

Problems checkMask(const QImage& mask, const Shape& shape)
{
    Problems problems;
    int reported = 0;
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x) {
            const QRgb want = shape.contains(x, y) ? Black : White;
            if (mask.pixel(x, y) != want)
                addPixelProblem(problems, reported,
                                QStringLiteral("mask pixel %1 is %2, the silhouette needs %3")
                                    .arg(at(x, y), colourName(mask.pixel(x, y)), colourName(want)));
        }
    }
    addOverflow(problems, reported);
    return problems;
}

Problems checkSpots(const QImage& frame, const Shape& shape, SpotCounts expected)
{
    const SpotCounts found = spotsOf(frame, shape);
    Problems problems;
    if (found.black != expected.black)
        problems << QStringLiteral("%1 black pixels inside the silhouette, not %2").arg(found.black).arg(expected.black);
    if (found.darkRed != expected.darkRed)
        problems << QStringLiteral("%1 spot pixels (3,0,0), not %2").arg(found.darkRed).arg(expected.darkRed);
    if (found.nearBlack != expected.nearBlack)
        problems << QStringLiteral("%1 spot pixels (2,1,0), not %2").arg(found.nearBlack).arg(expected.nearBlack);
    return problems;
}

Problems checkPupils(const QImage& frame, QRgb pupil)
{
    QList<QPoint> pupils;
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x)
            if (frame.pixel(x, y) == pupil)
                pupils << QPoint(x, y);
    if (pupils.size() != 2)
        return {QStringLiteral("%1 pupil pixels %2, not one in each of two eyes").arg(pupils.size()).arg(colourName(pupil))};
    Problems problems;
    for (const QPoint& p : pupils) {
        bool inEye = false;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                inEye |= QRect(0, 0, frame.width(), frame.height()).contains(p + QPoint(dx, dy))
                         && frame.pixel(p + QPoint(dx, dy)) == Yellow;
        if (!inEye)
            problems << QStringLiteral("pupil at %1 is not in a yellow eye").arg(at(p.x(), p.y()));
    }
    if ((pupils[0] - pupils[1]).manhattanLength() < 4)
        problems << QStringLiteral("both pupils are in the same eye");
    return problems;
}

Problems checkTurn(const QImage& upright, const QImage& frame, int quarters)
{
    // Skin spots of the upright frame (black inside, or (3,0,0)) turn into (2,1,0).
    const Shape shape = shapeOf(upright);
    QImage expected = upright;
    for (int y = 0; y < upright.height(); ++y) {
        for (int x = 0; x < upright.width(); ++x) {
            const QRgb c = upright.pixel(x, y);
            if (quarters > 0 && ((c == Black && shape.contains(x, y)) || c == DarkRed))
                expected.setPixel(x, y, NearBlack);
        }
    }
    expected = turned(expected, quarters);
    Problems problems;
    int reported = 0;
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x)
            if (frame.pixel(x, y) != expected.pixel(x, y))
                addPixelProblem(problems, reported,
                                QStringLiteral("pixel %1 is %2 but the %3 quarter turn of the upright frame gives %4")
                                    .arg(at(x, y), colourName(frame.pixel(x, y))).arg(quarters)
                                    .arg(colourName(expected.pixel(x, y))));
    addOverflow(problems, reported);
    return problems;
}

Problems checkPreview(const QImage& still, const QImage& redUpright, const Shape& shape)
{
    const QPoint cell(25, 10);
    if (still.size() != QSize(160, 120))
        return {QStringLiteral("still is %1 x %2, not 160 x 120").arg(still.width()).arg(still.height())};
    Problems problems;
    int reported = 0;
    QRect frog;
    for (int y = 0; y < still.height(); ++y) {
        for (int x = 0; x < still.width(); ++x) {
            const QPoint p = QPoint(x, y) - cell;
            const bool onFrog = QRect(0, 0, CellSize, CellSize).contains(p) && shape.contains(p.x(), p.y());
            const QRgb want = onFrog ? redUpright.pixel(p) : Grey;
            if (still.pixel(x, y) != want)
                addPixelProblem(problems, reported, QStringLiteral("pixel %1 is %2, not %3")
                                                        .arg(at(x, y), colourName(still.pixel(x, y)), colourName(want)));
            if (still.pixel(x, y) != Grey)
                frog |= QRect(x, y, 1, 1);
        }
    }
    addOverflow(problems, reported);
    if (frog != QRect(QPoint(47, 27), QPoint(98, 81)))
        problems << QStringLiteral("frog spans columns %1..%2, rows %3..%4, not 47..98, 27..81")
                        .arg(frog.left()).arg(frog.right()).arg(frog.top()).arg(frog.bottom());
    return problems;
}

namespace {

// Palette indexes, top row first, from BI_RLE8 data; nullopt on a fault.
std::optional<std::vector<uchar>> decodeRle8(const QByteArray& data, int width, int height, Problems& problems)
{
    std::vector<uchar> pixels(std::size_t(width) * height, 0);
    int x = 0;
    int row = 0; // counted from the bottom, as stored
    int i = 0;
    auto fail = [&](const QString& problem) {
        problems << problem;
        return std::nullopt;
    };
    auto put = [&](uchar value) {
        if (x >= width || row >= height)
            return false;
        pixels[std::size_t(height - 1 - row) * width + x++] = value;
        return true;
    };
    while (i + 1 < data.size()) {
        const uchar n = uchar(data[i]);
        const uchar v = uchar(data[i + 1]);
        i += 2;
        if (n > 0) {
            for (int k = 0; k < n; ++k)
                if (!put(v))
                    return fail(QStringLiteral("RLE8 run passes the end of row %1").arg(row));
        } else if (v == 0) {
            if (x != width)
                return fail(QStringLiteral("RLE8 row %1 ends after %2 pixels").arg(row).arg(x));
            ++row;
            x = 0;
        } else if (v == 1) {
            const bool complete = (row == height && x == 0) || (row == height - 1 && x == width);
            if (!complete)
                return fail(QStringLiteral("RLE8 data ends at row %1").arg(row));
            if (i != data.size())
                problems << QStringLiteral("%1 bytes after the RLE8 end of bitmap").arg(data.size() - i);
            return pixels;
        } else if (v == 2) {
            return fail(QStringLiteral("RLE8 delta escape (pixels it skips stay undefined)"));
        } else {
            if (i + v > data.size())
                return fail(QStringLiteral("RLE8 absolute run passes the end of the data"));
            for (int k = 0; k < v; ++k)
                if (!put(uchar(data[i + k])))
                    return fail(QStringLiteral("RLE8 absolute run passes the end of row %1").arg(row));
            i += v + (v & 1);
        }
    }
    problems << QStringLiteral("RLE8 data has no end of bitmap");
    return std::nullopt;
}

std::optional<std::vector<uchar>> readUncompressed(const QByteArray& data, int width, int height, Problems& problems)
{
    const int stride = (width + 3) / 4 * 4;
    if (data.size() < stride * height) {
        problems << QStringLiteral("pixel data has %1 bytes, needs %2").arg(data.size()).arg(stride * height);
        return std::nullopt;
    }
    std::vector<uchar> pixels;
    for (int y = height - 1; y >= 0; --y)
        pixels.insert(pixels.end(), data.begin() + y * stride, data.begin() + y * stride + width);
    return pixels;
}

Problems checkHeader(const QByteArray& bytes, const BitmapFormat& expected)
{
    Problems problems;
    auto expect = [&](qint64 found, qint64 want, const char* what) {
        if (found != want)
            problems << QStringLiteral("%1 is %2, not %3").arg(QLatin1String(what)).arg(found).arg(want);
    };
    if (!bytes.startsWith("BM"))
        problems << QStringLiteral("no BM signature");
    expect(le32(bytes, 2), bytes.size(), "file size field");
    expect(le32(bytes, 10), PixelOffset, "pixel data offset");
    expect(le32(bytes, 14), 40, "info header size (BITMAPINFOHEADER)");
    expect(qint32(le32(bytes, 18)), expected.width, "width");
    expect(qint32(le32(bytes, 22)), expected.height, "height (bottom-up)");
    expect(le16(bytes, 26), 1, "planes");
    expect(le16(bytes, 28), 8, "bits per pixel");
    expect(le32(bytes, 30), expected.rle8 ? 1 : 0, "compression (0 none, 1 RLE8)");
    expect(qint32(le32(bytes, 38)), PixelsPerMetre, "horizontal pixels per metre");
    expect(qint32(le32(bytes, 42)), PixelsPerMetre, "vertical pixels per metre");
    const quint32 used = le32(bytes, 46);
    expect(used == 0 ? PaletteEntries : used, PaletteEntries, "palette entries");
    return problems;
}

} // namespace

QList<QRgb> paletteOf(const QByteArray& bytes)
{
    if (bytes.size() < PixelOffset)
        return {};
    QList<QRgb> palette;
    for (int i = 0; i < PaletteEntries; ++i)
        palette << (le32(bytes, PaletteOffset + 4 * i) | 0xff000000);
    return palette;
}

Problems checkBitmapFile(const QByteArray& bytes, const BitmapFormat& expected)
{
    if (bytes.size() < PixelOffset)
        return {QStringLiteral("file has %1 bytes, too short for headers and a full palette").arg(bytes.size())};
    Problems problems = checkHeader(bytes, expected);
    if (!problems.isEmpty())
        return problems; // the pixel data cannot be read reliably
    const QList<QRgb> palette = paletteOf(bytes);
    for (int i = 0; i < expected.palettePrefix.size(); ++i)
        if (palette[i] != expected.palettePrefix[i])
            problems << QStringLiteral("palette index %1 is %2, not %3")
                            .arg(i).arg(colourName(palette[i]), colourName(expected.palettePrefix[i]));
    const QByteArray data = bytes.mid(PixelOffset);
    const auto pixels = expected.rle8 ? decodeRle8(data, expected.width, expected.height, problems)
                                      : readUncompressed(data, expected.width, expected.height, problems);
    if (!pixels)
        return problems;
    const QImage decoded = QImage::fromData(bytes, "BMP").convertToFormat(QImage::Format_RGB32);
    if (decoded.size() != QSize(expected.width, expected.height))
        return problems << QStringLiteral("QImage cannot decode the file");
    int reported = 0;
    for (int y = 0; y < expected.height; ++y)
        for (int x = 0; x < expected.width; ++x)
            if (decoded.pixel(x, y) != palette[(*pixels)[std::size_t(y) * expected.width + x]])
                addPixelProblem(problems, reported, QStringLiteral("QImage decodes pixel %1 differently").arg(at(x, y)));
    addOverflow(problems, reported);
    return problems;
}

QStringList artFileNames()
{
    QStringList names;
    for (int k = 1; k <= 8; ++k)
        names << QStringLiteral("green-%1.bmp").arg(k) << QStringLiteral("red-%1.bmp").arg(k)
              << QStringLiteral("mask-%1.bmp").arg(k);
    return names << QStringLiteral("preview.bmp");
}

Problems validateFiles(const QMap<QString, QByteArray>& files)
{
    Problems problems;
    for (const QString& name : artFileNames()) {
        if (!files.contains(name)) {
            problems << name + QStringLiteral(": missing");
            continue;
        }
        BitmapFormat format;
        const int frame = name.section(QLatin1Char('-'), 1).section(QLatin1Char('.'), 0, 0).toInt();
        if (name.startsWith(QLatin1String("mask"))) {
            format.rle8 = true;
            format.palettePrefix = {Black, White};
        } else if (name == QLatin1String("preview.bmp")) {
            format.width = 160;
            format.height = 120;
        } else {
            format.rle8 = frame >= 5;
            format.palettePrefix = {Black};
        }
        add(problems, name, checkBitmapFile(files[name], format));
    }
    // Both frogs' frames share one palette.
    const QList<QRgb> shared = paletteOf(files.value(QStringLiteral("green-1.bmp")));
    for (const QString& name : artFileNames())
        if ((name.startsWith(QLatin1String("green")) || name.startsWith(QLatin1String("red")))
            && files.contains(name) && paletteOf(files[name]) != shared)
            problems << name + QStringLiteral(": palette differs from green-1.bmp's");
    return problems;
}

Problems validateSprites(const SpriteSet& set)
{
    Problems problems;
    const QList<QRgb> redColours{Black, 0xffff0000, 0xff0000ff, 0xff000084, 0xff840000, Yellow, DarkRed, NearBlack};
    for (int k = 1; k <= 8; ++k) {
        const QImage& green = set.green[k - 1];
        const QImage& red = set.red[k - 1];
        const QImage& mask = set.mask[k - 1];
        const QString suffix = QStringLiteral("-%1").arg(k);
        if (green.size() != QSize(CellSize, CellSize) || red.size() != green.size() || mask.size() != green.size()) {
            problems << QStringLiteral("frame %1: pictures are not %2 x %2").arg(k).arg(CellSize);
            continue;
        }
        const Shape shape = shapeOf(green);
        const FrameRule& rule = Frames[k - 1];
        add(problems, "green" + suffix, checkShape(shape, rule.extent, rule.pixels));
        if (shapeOf(red) != shape)
            problems << "red" + suffix + QStringLiteral(": silhouette differs from green") + suffix;
        add(problems, "mask" + suffix, checkMask(mask, shape));

        const QRgb pupil = k <= 4 ? SittingPupil : LeapingPupil;
        add(problems, "green" + suffix, checkColours(green, {Black, 0xff00ff00, 0xff007c00, Yellow, pupil, DarkRed, NearBlack}));
        add(problems, "red" + suffix, checkColours(red, redColours));
        add(problems, "green" + suffix, checkPupils(green, pupil));
        const SpotCounts greenSpots = k == 1 ? SpotCounts{GreenSpots, 0, 0}
                                      : k == 5 ? SpotCounts{26, 14, 0}
                                               : SpotCounts{0, 0, GreenSpots};
        const SpotCounts redSpots = isUpright(k) ? SpotCounts{RedSpots, 0, 0} : SpotCounts{0, 0, RedSpots};
        add(problems, "green" + suffix, checkSpots(green, shape, greenSpots));
        add(problems, "red" + suffix, checkSpots(red, shape, redSpots));

        const int up = uprightOf(k);
        if (!isUpright(k)) {
            add(problems, "green" + suffix, checkTurn(set.green[up - 1], green, k - up));
            add(problems, "red" + suffix, checkTurn(set.red[up - 1], red, k - up));
            add(problems, "mask" + suffix, checkMask(mask, shapeOfMask(turned(set.mask[up - 1], k - up))));
        }
    }
    add(problems, QStringLiteral("preview"), checkPreview(set.preview, set.red[0], shapeOf(set.red[0])));
    return problems;
}

} // namespace art
