// The frogs' world at frog scale 2 against the same world at scale 1: the
// same choices from the same random numbers, every place and every picture
// doubled, pixel for pixel.
#include "saver/MoveScheduler.h"
#include "tests/support/SceneTest.h"

namespace {

QImage doubled(const QImage& image)
{
    return image.scaled(image.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

/** Records the rectangles put on screen. */
struct RectPlatform : platform::FakePlatform {
    std::vector<QRect> refreshed;
    void refresh(QWindow& window, const QImage& image, const QRect& rect) override
    {
        FakePlatform::refresh(window, image, rect);
        refreshed.push_back(rect);
    }
};

/** A world of frogs at one scale over a ground, with the scheduler. */
struct World {
    World(double scale, const QImage& ground)
        : sprites(scaledSprites(testsprites::make(), scale)), canvas(ground.copy())
    {
        window.resize(canvas.size());
    }
    /** The calls made so far, rectangles left out. */
    std::vector<std::string> callsBesidesRefresh() const
    {
        std::vector<std::string> calls;
        for (const std::string& call : platform.calls)
            if (!call.starts_with("refresh"))
                calls.push_back(call);
        return calls;
    }

    RectPlatform platform;
    QWindow window;
    SpriteSet sprites;
    QImage canvas;
    platform::FakeCanvas shown{platform, window, canvas};
    FrogDrawing drawing{shown, sprites};
    Jumps jumps{platform, drawing};
    FrogState green, red;
    MoveScheduler scheduler{platform, window, drawing, jumps, green, red};
};

class Scale2 : public testing::Test {
protected:
    Scale2()
    {
        SaverSettings = {};
        SaverSettings.Hole = -1;
        SaverSettings.Streak = -1;
    }
    ~Scale2() override { SaverSettings = {}; }

    const QImage ground = testsprites::noise(300, 240);
    World one{1, ground};
    World two{2, doubled(ground)};
};

TEST_F(Scale2, TheDrawingOperationsDrawTheDoubledPicture)
{
    // Places inside, across the edges and off the canvas; every frame and mask.
    const std::vector<QPoint> places = {{30, 20}, {-40, 100}, {250, 200}, {-120, -100}, {100, 60}};
    for (World* world : {&one, &two}) {
        FrogSprite frog{FrogKind::Red, 30, 20};
        world->drawing.SaveBackground(frog, frog.DrawnX, frog.DrawnY);
        for (int k = 1; k <= 8; ++k) {
            const QPoint at = places[k % places.size()];
            world->drawing.RestoreBackground(frog);
            world->drawing.StampMask(9 - k, frog.DrawnX, frog.DrawnY);
            world->drawing.SaveBackground(frog, std::int16_t(at.x()), std::int16_t(at.y()));
            world->drawing.ComposeFrame(frog, k);
            world->drawing.PresentFrame(frog, std::int16_t(at.x()), std::int16_t(at.y()));
        }
    }
    EXPECT_EQ(two.canvas, doubled(one.canvas));
    ASSERT_EQ(two.platform.refreshed.size(), one.platform.refreshed.size());
    for (std::size_t i = 0; i < one.platform.refreshed.size(); ++i) {
        const QRect r = one.platform.refreshed[i];
        EXPECT_EQ(two.platform.refreshed[i], QRect(r.topLeft() * 2, r.size() * 2)) << i;
    }
}

TEST_F(Scale2, TheSchedulerAndJumpsMakeTheSameChoicesOnTheDoubledScreen)
{
    // Random numbers that send the frogs to every side, off the edges and
    // close to each other (the flight).
    const std::deque<float> random = {0.9f, 0.1f, 0.0f, 0.95f, 0.5f, 0.5f, 0.99f, 0.99f,
                                      0.2f, 0.7f, 0.3f, 0.3f, 0.01f, 0.6f, 0.8f, 0.05f};
    for (World* world : {&one, &two}) {
        world->platform.randomNumbers = random;
        for (FrogState* frog : {&world->green, &world->red}) {
            frog->kind = frog == &world->green ? FrogKind::Green : FrogKind::Red;
            frog->X = frog->Y = frog == &world->green ? 60 : 160;
            frog->DrawnX = frog->DrawnY = toInt16(frog->X);
            frog->RestFrame = 1;
        }
        world->scheduler.StartTick();
        for (int tick = 0; tick < 24; ++tick)
            world->scheduler.MoveTick();
    }
    for (auto frog : {&World::green, &World::red}) {
        const FrogState &a = one.*frog, &b = two.*frog;
        EXPECT_EQ(std::tie(a.X, a.Y, a.TargetX, a.TargetY, a.RestFrame, a.DrawnX, a.DrawnY),
                  std::tie(b.X, b.Y, b.TargetX, b.TargetY, b.RestFrame, b.DrawnX, b.DrawnY));
    }
    EXPECT_EQ(two.callsBesidesRefresh(), one.callsBesidesRefresh());
    EXPECT_GT(one.platform.refreshed.size(), 100u);
    EXPECT_EQ(two.canvas, doubled(one.canvas));
}

} // namespace
