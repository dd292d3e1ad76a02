// Exact pixel checks of the masked drawing on synthetic frogs.
#include "platform/fake/FakePlatform.h"
#include "sprites/FrogDrawing.h"
#include "tests/support/TestSprites.h"

#include <QWindow>
#include <gtest/gtest.h>

namespace {

using platform::FakePlatform;

constexpr int Width = 320;
constexpr int Height = 240;
constexpr QRgb White = 0xffffffff;

class Drawing : public testing::Test {
protected:
    // One whole step of a frog to (x, y) with frame k, no stamps.
    void step(FrogSprite& frog, int x, int y, int k)
    {
        drawing.RestoreBackground(frog);
        drawing.SaveBackground(frog, std::int16_t(x), std::int16_t(y));
        drawing.ComposeFrame(frog, k);
        drawing.PresentFrame(frog, std::int16_t(x), std::int16_t(y));
    }

    // The frog first sits down at (x, y): its buffer takes the ground there.
    FrogSprite placed(FrogKind kind, int x, int y)
    {
        FrogSprite frog{kind, std::int16_t(x), std::int16_t(y)};
        drawing.SaveBackground(frog, frog.DrawnX, frog.DrawnY);
        return frog;
    }

    // What a cell at (x, y) with frame k must show over ground.
    QImage expected(const QImage& ground, int x, int y, int k, FrogKind kind = FrogKind::Green)
    {
        return testsprites::withFrog(ground, sprites, kind == FrogKind::Green, k, x, y);
    }

    FakePlatform fake;
    QWindow window;
    SpriteSet sprites = testsprites::make();
    QImage canvas = testsprites::noise(Width, Height);
    platform::FakeCanvas shown{fake, window, canvas};
    FrogDrawing drawing{shown, sprites};
};

TEST_F(Drawing, OverUniformGroundShowsGroundOutsideAndFrogInside)
{
    const QRgb ground = qRgb(40, 90, 200);
    canvas.fill(ground);
    for (int k = 1; k <= 8; ++k) {
        const QImage before = canvas.copy();
        FrogSprite frog = placed(FrogKind::Red, 100, 60);
        step(frog, 100, 60, k);
        EXPECT_EQ(canvas, expected(before, 100, 60, k, FrogKind::Red)) << "frame " << k;
        drawing.RestoreBackground(frog);
        EXPECT_EQ(canvas, before);
    }
}

TEST_F(Drawing, BlackSpotsStayBlackOverWhite)
{
    canvas.fill(White);
    FrogSprite frog = placed(FrogKind::Green, 50, 50);
    step(frog, 50, 50, 1);
    int pureBlack = 0, nearBlack = 0;
    for (int y = 0; y < CellSize; ++y)
        for (int x = 0; x < CellSize; ++x) {
            const QRgb shown = canvas.pixel(50 + x, 50 + y);
            if (!testsprites::inSilhouette(1, x, y)) {
                ASSERT_EQ(shown, White);
                continue;
            }
            ASSERT_EQ(shown, sprites.green[0].pixel(x, y));
            pureBlack += shown == testsprites::PureBlack;
            nearBlack += shown == testsprites::NearBlack;
        }
    EXPECT_GT(pureBlack, 10);
    EXPECT_GT(nearBlack, 10);
}

TEST_F(Drawing, StepsThenOneRestoreLeaveTheCanvasAsItWas)
{
    const QImage before = canvas.copy();
    FrogSprite frog = placed(FrogKind::Green, 175, 120);
    for (int x = 175; x >= 125; x -= 10) {
        step(frog, x, 120, 8);
        ASSERT_EQ(canvas, expected(before, x, 120, 8));
    }
    step(frog, 115, 120, 4);
    for (int y = 120; y >= 70; y -= 10)
        step(frog, 115, y, 5);
    step(frog, 115, 60, 1);
    EXPECT_EQ(canvas, expected(before, 115, 60, 1));
    drawing.RestoreBackground(frog);
    EXPECT_EQ(canvas, before);
}

TEST_F(Drawing, StampLeavesTheSilhouetteAndNothingElse)
{
    const QRgb ground = qRgb(200, 150, 100);
    for (int k = 1; k <= 8; ++k) {
        canvas.fill(ground);
        drawing.StampMask(k, 20, 30);
        int black = 0;
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x) {
                const QRgb shown = canvas.pixel(x, y);
                const bool onSilhouette = x >= 20 && y >= 30 && x < 20 + CellSize
                    && y < 30 + CellSize && testsprites::inSilhouette(k, x - 20, y - 30);
                ASSERT_EQ(shown, onSilhouette ? testsprites::PureBlack : ground) << x << "," << y;
                black += onSilhouette;
            }
        EXPECT_EQ(black, testsprites::silhouettePixels(k));
    }
}

// Cells hanging over each edge and each corner, and one wholly outside.
class ClippedCell : public Drawing, public testing::WithParamInterface<QPoint> {};

TEST_P(ClippedCell, DrawsOnlyTheVisiblePartAndRestoresIt)
{
    const QPoint at = GetParam();
    const QImage before = canvas.copy();
    FrogSprite frog = placed(FrogKind::Green, at.x(), at.y());
    step(frog, at.x(), at.y(), 1);
    EXPECT_EQ(canvas, expected(before, at.x(), at.y(), 1));
    step(frog, at.x(), at.y(), 6);
    EXPECT_EQ(canvas, expected(before, at.x(), at.y(), 6));
    drawing.StampMask(2, std::int16_t(at.x()), std::int16_t(at.y()));
    drawing.RestoreBackground(frog);
    EXPECT_EQ(canvas, before);
    // The repainted rectangle never reaches outside the canvas.
    for (const std::string& call : fake.callsStartingWith("refresh")) {
        int x, y, w, h;
        ASSERT_EQ(std::sscanf(call.c_str(), "refresh(%d,%d,%d,%d)", &x, &y, &w, &h), 4);
        EXPECT_TRUE(QRect(0, 0, Width, Height).contains(QRect(x, y, w, h)) || w * h == 0) << call;
    }
}

INSTANTIATE_TEST_SUITE_P(Edges, ClippedCell,
                         testing::Values(QPoint(-60, 80), QPoint(Width - 30, 80), QPoint(120, -50),
                                         QPoint(120, Height - 20), QPoint(-90, -90),
                                         QPoint(Width - 5, Height - 5), QPoint(-300, 500)));

TEST_F(Drawing, PresentRepaintsTheOldAndTheNewCellAndRecordsThePlace)
{
    FrogSprite frog = placed(FrogKind::Green, 175, 100);
    step(frog, 165, 100, 8);
    EXPECT_EQ(frog.DrawnX, 165);
    EXPECT_EQ(frog.DrawnY, 100);
    step(frog, 165, 110, 7);
    step(frog, 280, 200, 3); // clipped at the right and bottom
    EXPECT_EQ(fake.calls, (std::vector<std::string>{"refresh(165,100,105,95)",
                                                    "refresh(165,100,95,105)",
                                                    "refresh(165,110,155,130)"}));
}

TEST_F(Drawing, SavedBackgroundTakesInTheOtherFrog)
{
    // Where the cells overlap, the green frog's buffer holds part of the red
    // frog, and its restore puts that part back.
    FrogSprite red = placed(FrogKind::Red, 100, 100);
    step(red, 100, 100, 1);
    const QImage withRed = canvas.copy();
    FrogSprite green = placed(FrogKind::Green, 140, 100);
    step(green, 140, 100, 1);
    drawing.RestoreBackground(green);
    EXPECT_EQ(canvas, withRed);
    EXPECT_EQ(drawing.PicFrogTemp.pixel(0, 47), sprites.red[0].pixel(40, 47));
}

TEST(ReducedDrawing, GreyMaskEdgesLetTheGroundThroughInProportion)
{
    // At a preview's scale the ground shows where the mask is white, the
    // frame where it is black, and on grey edges ground times mask plus the
    // frame's darkened edge; a mark darkens in proportion too.
    FakePlatform fake;
    QWindow window;
    const SpriteSet sprites = scaledSprites(testsprites::make(), 0.5);
    const QRgb groundColour = qRgb(200, 120, 40);
    QImage canvas = testsprites::uniform(120, 100, groundColour);
    platform::FakeCanvas shown{fake, window, canvas};
    FrogDrawing drawing{shown, sprites};
    FrogSprite frog{FrogKind::Green, 20, 20};
    drawing.SaveBackground(frog, 20, 20);
    drawing.ComposeFrame(frog, 5);
    drawing.PresentFrame(frog, 20, 20);
    drawing.StampMask(1, 120, 20); // canvas (60, 10): beside the frog
    const auto blended = [](QRgb ground, QRgb mask, QRgb frame) {
        const auto channel = [](int g, int m, int f) { return std::min(255, (g * m + 127) / 255 + f); };
        return qRgb(channel(qRed(ground), qRed(mask), qRed(frame)),
                    channel(qGreen(ground), qGreen(mask), qGreen(frame)),
                    channel(qBlue(ground), qBlue(mask), qBlue(frame)));
    };
    const auto near = [](QRgb a, QRgb b) {
        return std::abs(qRed(a) - qRed(b)) <= 1 && std::abs(qGreen(a) - qGreen(b)) <= 1
            && std::abs(qBlue(a) - qBlue(b)) <= 1;
    };
    int grey = 0;
    for (int y = 0; y < sprites.cell; ++y)
        for (int x = 0; x < sprites.cell; ++x) {
            const QRgb frogMask = sprites.mask[4].pixel(x, y), markMask = sprites.mask[0].pixel(x, y);
            grey += qRed(frogMask) != 0 && qRed(frogMask) != 255;
            EXPECT_PRED2(near, canvas.pixel(10 + x, 10 + y),
                         blended(groundColour, frogMask, sprites.green[4].pixel(x, y)))
                << x << "," << y;
            EXPECT_PRED2(near, canvas.pixel(60 + x, 10 + y), blended(groundColour, markMask, 0))
                << x << "," << y;
        }
    EXPECT_GT(grey, 10);
}

} // namespace
