// The art validator on the committed pictures, and on copies broken in one
// rule at a time, each of which it must report.
#include "tests/art/ArtValidator.h"

#include <QFile>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

using art::Problems;

const QRgb Black = qRgb(0, 0, 0);
const QRgb NearBlack = qRgb(2, 1, 0);
const QRgb DarkRed = qRgb(3, 0, 0);

QMap<QString, QByteArray> committedFiles()
{
    QMap<QString, QByteArray> files;
    for (const QString& name : art::artFileNames()) {
        QFile file(QStringLiteral(":/art/") + name);
        if (file.open(QIODevice::ReadOnly))
            files[name] = file.readAll();
    }
    return files;
}

// True when some problem mentions every one of the fragments.
bool mentions(const Problems& problems, const QStringList& fragments)
{
    for (const QString& problem : problems) {
        bool all = true;
        for (const QString& fragment : fragments)
            all &= problem.contains(fragment);
        if (all)
            return true;
    }
    return false;
}

QPoint firstPixel(const QImage& image, QRgb colour)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == colour)
                return {x, y};
    return {-1, -1};
}

void setLe32(QByteArray& bytes, int offset, quint32 value)
{
    qToLittleEndian(value, bytes.data() + offset);
}

// A copy of a bitmap file with other pixel data and matching size fields.
QByteArray withPixelData(const QByteArray& file, const QByteArray& data)
{
    QByteArray out = file.left(14 + 40 + 1024) + data;
    setLe32(out, 2, quint32(out.size()));
    setLe32(out, 34, quint32(data.size()));
    return out;
}

// RLE8 data of an all-white 95 x 95 mask, one row replaced by `firstRow`.
QByteArray whiteMaskData(const QByteArray& firstRow)
{
    QByteArray data;
    for (int row = 0; row < CellSize; ++row)
        data += row == 0 ? firstRow : QByteArray("\x5f\x01\x00\x00", 4);
    return data + QByteArray("\x00\x01", 2);
}

art::BitmapFormat maskFormat()
{
    return {CellSize, CellSize, true, {Black, qRgb(255, 255, 255)}};
}

TEST(CommittedArt, PicturesMeetEveryRule)
{
    const Problems problems = art::validateSprites(loadSprites());
    EXPECT_TRUE(problems.isEmpty()) << problems.join('\n').toStdString();
}

TEST(CommittedArt, FilesHaveTheStoredFormat)
{
    const QMap<QString, QByteArray> files = committedFiles();
    EXPECT_EQ(files.size(), 25);
    const Problems problems = art::validateFiles(files);
    EXPECT_TRUE(problems.isEmpty()) << problems.join('\n').toStdString();
}

TEST(CommittedArt, TurnedFramesFollowFromTheUprightExtents)
{
    // A clockwise quarter turn takes (x, y) to (94 - y, x), so frame 2's
    // silhouette spans columns 94 - 71 .. 94 - 17 and rows 22..73.
    const SpriteSet& set = loadSprites();
    const QRect upright = art::shapeOf(set.green[0]).extent();
    const QRect turned = art::shapeOf(set.green[1]).extent();
    EXPECT_EQ(turned, QRect(QPoint(94 - upright.bottom(), upright.left()), QPoint(94 - upright.top(), upright.right())));
}

class BrokenPicture : public ::testing::Test {
protected:
    SpriteSet set = loadSprites();
    Problems problems() const { return art::validateSprites(set); }
};

TEST_F(BrokenPicture, ColourOutsideTheTable)
{
    const QPoint body = firstPixel(set.green[2], qRgb(0, 255, 0));
    set.green[2].setPixel(body, qRgb(0, 254, 0));
    EXPECT_TRUE(mentions(problems(), {"green-3", "not in the colour table"}));
}

TEST_F(BrokenPicture, RedFrogInGreenColours)
{
    const QPoint body = firstPixel(set.red[0], qRgb(255, 0, 0));
    set.red[0].setPixel(body, qRgb(0, 255, 0));
    EXPECT_TRUE(mentions(problems(), {"red-1", "not in the colour table"}));
}

TEST_F(BrokenPicture, StrayPixelOutsideTheSilhouette)
{
    set.green[5].setPixel(3, 90, qRgb(0, 255, 0));
    const Problems found = problems();
    EXPECT_TRUE(mentions(found, {"green-6", "1469 pixels"}));
    EXPECT_TRUE(mentions(found, {"red-6", "differs from green-6"}));
    EXPECT_TRUE(mentions(found, {"mask-6", "mask pixel (3, 90)"}));
}

TEST_F(BrokenPicture, SilhouetteOnePixelShortInFrogsAndMask)
{
    // The same outline pixel removed everywhere: only the size is wrong.
    const int y = 40;
    int x = 0;
    while (set.mask[0].pixel(x, y) != Black)
        ++x;
    for (QImage* image : {&set.green[0], &set.red[0]})
        image->setPixel(x, y, Black);
    set.mask[0].setPixel(x, y, qRgb(255, 255, 255));
    EXPECT_TRUE(mentions(problems(), {"green-1", "1497 pixels, not 1498"}));
}

TEST_F(BrokenPicture, SilhouetteMovedOffItsExtent)
{
    for (QImage* image : {&set.green[4], &set.red[4], &set.mask[4]}) {
        const QImage copy = *image;
        image->fill(image == &set.mask[4] ? qRgb(255, 255, 255) : Black);
        for (int y = 0; y < CellSize; ++y)
            for (int x = 1; x < CellSize; ++x)
                image->setPixel(x, y, copy.pixel(x - 1, y));
    }
    EXPECT_TRUE(mentions(problems(), {"green-5", "columns 34..61"}));
}

TEST_F(BrokenPicture, MaskPixelOffTheSilhouette)
{
    const QPoint inside = firstPixel(set.mask[6], Black);
    set.mask[6].setPixel(inside, qRgb(255, 255, 255));
    EXPECT_TRUE(mentions(problems(), {"mask-7", "mask pixel"}));
}

TEST_F(BrokenPicture, EnclosedBlackSpotLeftOutOfTheMask)
{
    // A black spot is part of the silhouette even though it is black.
    const art::Shape shape = art::shapeOf(set.green[0]);
    QPoint spot(-1, -1);
    for (int y = 0; y < CellSize && spot.x() < 0; ++y)
        for (int x = 0; x < CellSize && spot.x() < 0; ++x)
            if (shape.contains(x, y) && set.green[0].pixel(x, y) == Black)
                spot = {x, y};
    ASSERT_GE(spot.x(), 0);
    set.mask[0].setPixel(spot, qRgb(255, 255, 255));
    EXPECT_TRUE(mentions(problems(), {"mask-1", "mask pixel"}));
}

TEST_F(BrokenPicture, FrameTurnedTheWrongWay)
{
    set.red[1] = set.red[3]; // turned counter-clockwise
    EXPECT_TRUE(mentions(problems(), {"red-2", "quarter turn"}));
}

TEST_F(BrokenPicture, FrameMirroredInsteadOfTurned)
{
    set.green[6] = set.green[6].mirrored(true, false);
    EXPECT_TRUE(mentions(problems(), {"green-7", "quarter turn"}));
}

TEST_F(BrokenPicture, MaskNotTheTurnOfTheUprightMask)
{
    set.mask[7] = set.mask[7].mirrored(false, true);
    EXPECT_TRUE(mentions(problems(), {"mask-8", "mask pixel"}));
}

TEST_F(BrokenPicture, TurnedSpotLeftPureBlack)
{
    const QPoint spot = firstPixel(set.green[3], NearBlack);
    set.green[3].setPixel(spot, Black);
    const Problems found = problems();
    EXPECT_TRUE(mentions(found, {"green-4", "(2,1,0), not 40"}));
    EXPECT_TRUE(mentions(found, {"green-4", "1 black pixels inside"}));
}

TEST_F(BrokenPicture, UprightSpotNotPureBlack)
{
    const art::Shape shape = art::shapeOf(set.red[0]);
    for (int y = 0; y < CellSize; ++y)
        for (int x = 0; x < CellSize; ++x)
            if (shape.contains(x, y) && set.red[0].pixel(x, y) == Black) {
                set.red[0].setPixel(x, y, NearBlack);
                EXPECT_TRUE(mentions(problems(), {"red-1", "35 black pixels inside"}));
                return;
            }
    FAIL() << "no black spot in red-1";
}

TEST_F(BrokenPicture, LeapSpotsSplitWrongly)
{
    set.green[4].setPixel(firstPixel(set.green[4], DarkRed), Black);
    EXPECT_TRUE(mentions(problems(), {"green-5", "13 spot pixels (3,0,0), not 14"}));
}

TEST_F(BrokenPicture, MissingPupil)
{
    const QRgb pupil = qRgb(110, 135, 164);
    set.green[0].setPixel(firstPixel(set.green[0], pupil), qRgb(255, 255, 0));
    EXPECT_TRUE(mentions(problems(), {"green-1", "1 pupil pixels"}));
}

TEST_F(BrokenPicture, LeapingPupilColourInASittingFrame)
{
    const QPoint pupil = firstPixel(set.green[1], qRgb(110, 135, 164));
    set.green[1].setPixel(pupil, qRgb(160, 207, 169));
    EXPECT_TRUE(mentions(problems(), {"green-2", "not in the colour table"}));
}

TEST_F(BrokenPicture, PreviewGroundNotGrey)
{
    set.preview.setPixel(159, 119, qRgb(127, 128, 128));
    EXPECT_TRUE(mentions(problems(), {"preview", "(159, 119)"}));
}

TEST_F(BrokenPicture, PreviewFrogOffItsPlace)
{
    QImage shifted = set.preview;
    shifted.fill(qRgb(128, 128, 128));
    for (int y = 0; y < shifted.height(); ++y)
        for (int x = 1; x < shifted.width(); ++x)
            shifted.setPixel(x - 1, y, set.preview.pixel(x, y));
    set.preview = shifted;
    EXPECT_TRUE(mentions(problems(), {"preview", "columns 46..97"}));
}

class BrokenFile : public ::testing::Test {
protected:
    QMap<QString, QByteArray> files = committedFiles();
    Problems problems() const { return art::validateFiles(files); }
};

TEST_F(BrokenFile, LeapFrameStoredUncompressed)
{
    files["green-5.bmp"] = files["green-1.bmp"];
    EXPECT_TRUE(mentions(problems(), {"green-5.bmp", "compression"}));
}

TEST_F(BrokenFile, SittingFrameMarkedRle8)
{
    setLe32(files["red-2.bmp"], 30, 1);
    EXPECT_TRUE(mentions(problems(), {"red-2.bmp", "compression"}));
}

TEST_F(BrokenFile, MaskStoredUncompressed)
{
    setLe32(files["mask-3.bmp"], 30, 0);
    EXPECT_TRUE(mentions(problems(), {"mask-3.bmp", "compression"}));
}

TEST_F(BrokenFile, WrongResolution)
{
    setLe32(files["mask-1.bmp"], 38, 2835); // 72 dpi
    EXPECT_TRUE(mentions(problems(), {"mask-1.bmp", "horizontal pixels per metre is 2835"}));
}

TEST_F(BrokenFile, NotEightBitsPerPixel)
{
    qToLittleEndian<quint16>(4, files["green-2.bmp"].data() + 28);
    EXPECT_TRUE(mentions(problems(), {"green-2.bmp", "bits per pixel is 4"}));
}

TEST_F(BrokenFile, NewerInfoHeader)
{
    setLe32(files["preview.bmp"], 14, 108);
    EXPECT_TRUE(mentions(problems(), {"preview.bmp", "BITMAPINFOHEADER"}));
}

TEST_F(BrokenFile, ShortPalette)
{
    setLe32(files["red-6.bmp"], 46, 16);
    EXPECT_TRUE(mentions(problems(), {"red-6.bmp", "palette entries is 16"}));
}

TEST_F(BrokenFile, PaletteIndexZeroNotBlack)
{
    setLe32(files["red-1.bmp"], 54, 0x00010101);
    const Problems found = problems();
    EXPECT_TRUE(mentions(found, {"red-1.bmp", "palette index 0"}));
    EXPECT_TRUE(mentions(found, {"red-1.bmp", "differs from green-1.bmp"}));
}

TEST_F(BrokenFile, MaskPaletteWithoutWhiteAtOne)
{
    setLe32(files["mask-4.bmp"], 58, 0x00fefefe);
    EXPECT_TRUE(mentions(problems(), {"mask-4.bmp", "palette index 1"}));
}

TEST_F(BrokenFile, FrogsWithDifferentPalettes)
{
    setLe32(files["green-8.bmp"], 54 + 4 * 200, 0x00123456); // an unused entry
    EXPECT_TRUE(mentions(problems(), {"green-8.bmp", "palette differs"}));
}

TEST(Rle8, AcceptsAPlainValidMask)
{
    const QByteArray mask = withPixelData(committedFiles()["mask-1.bmp"], whiteMaskData(QByteArray("\x5f\x01\x00\x00", 4)));
    EXPECT_TRUE(art::checkBitmapFile(mask, maskFormat()).isEmpty());
}

TEST(Rle8, RejectsDeltaEscapes)
{
    // 10 white, skip 5 to the right, 80 white: 95 pixels, five of them undefined.
    const QByteArray row("\x0a\x01\x00\x02\x05\x00\x50\x01\x00\x00", 10);
    const QByteArray mask = withPixelData(committedFiles()["mask-1.bmp"], whiteMaskData(row));
    EXPECT_TRUE(mentions(art::checkBitmapFile(mask, maskFormat()), {"delta"}));
}

TEST(Rle8, RejectsShortRows)
{
    const QByteArray mask = withPixelData(committedFiles()["mask-1.bmp"], whiteMaskData(QByteArray("\x5e\x01\x00\x00", 4)));
    EXPECT_TRUE(mentions(art::checkBitmapFile(mask, maskFormat()), {"ends after 94 pixels"}));
}

TEST(Rle8, RejectsDataWithoutEnd)
{
    QByteArray data = whiteMaskData(QByteArray("\x5f\x01\x00\x00", 4));
    data.chop(2);
    const QByteArray mask = withPixelData(committedFiles()["mask-1.bmp"], data);
    EXPECT_TRUE(mentions(art::checkBitmapFile(mask, maskFormat()), {"no end of bitmap"}));
}

} // namespace
