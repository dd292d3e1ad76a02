// The saver window on the offscreen platform: load, paint, and the input
// that ends it.
#include "platform/fake/FakePlatform.h"
#include "saver/frog1.h"
#include "startup/Globals.h"
#include "tests/support/TestSprites.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using platform::FakePlatform;
using Calls = std::vector<std::string>;

// The window with its event handlers open to the test.
struct OpenFrog1 : frog1 {
    using frog1::frog1;
    using frog1::keyPressEvent;
    using frog1::mouseMoveEvent;
    using frog1::mousePressEvent;
    using frog1::paintEvent;
};

class SaverWindow : public testing::Test {
protected:
    SaverWindow()
    {
        SaverSettings = {};
        fake.screenImage = testsprites::noise(640, 480);
    }
    ~SaverWindow() override { SaverSettings = {}; }

    static QMouseEvent mouse(QEvent::Type type, QPointF at, Qt::MouseButton button = Qt::NoButton)
    {
        return QMouseEvent(type, at, at, button, button, Qt::NoModifier);
    }
    // Runs an input handler and tells whether it ended the process (with status 0).
    template <typename Handler>
    static bool ends(FakePlatform& platform, Handler handler)
    {
        platform.endStatus.reset();
        handler();
        if (!platform.endStatus)
            return false;
        EXPECT_EQ(*platform.endStatus, 0);
        return true;
    }

    FakePlatform fake;
    SpriteSet sprites = testsprites::make();
};

TEST_F(SaverWindow, LoadsTheFrogsAndTheScreenBeforeItShows)
{
    OpenFrog1 window(fake, sprites);
    EXPECT_EQ(fake.calls, (Calls{"watchWindow(1)", "rtcRandomize", "CreateDCA(DISPLAY)", "DeleteDC"}));
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.title(), "frog");
    EXPECT_TRUE(window.flags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(window.flags() & Qt::BypassWindowManagerHint);
    EXPECT_EQ(window.geometry(), QRect(0, 0, 640, 480));
    EXPECT_EQ(window.canvas(), fake.screenImage);
    for (const auto& [frog, at] : {std::pair{&window.greenFrog(), 175}, {&window.redFrog(), 326}}) {
        EXPECT_EQ(frog->X, float(at));
        EXPECT_EQ(frog->Y, float(at));
        EXPECT_EQ(frog->DrawnX, at);
        EXPECT_EQ(frog->DrawnY, at);
        EXPECT_EQ(frog->RestFrame, 1);
        EXPECT_EQ(frog->TargetX, 0.0f);
        EXPECT_EQ(frog->TargetY, 0.0f);
    }
    EXPECT_EQ(window.greenFrog().kind, FrogKind::Green);
    EXPECT_EQ(window.redFrog().kind, FrogKind::Red);
    EXPECT_TRUE(window.scheduler().Timer2.isActive());
    EXPECT_FALSE(window.scheduler().Timer1.isActive());
}

TEST_F(SaverWindow, FollowsTheScreenSizeKeepingWhatIsDrawn)
{
    OpenFrog1 window(fake, sprites);
    const QImage before = window.canvas();
    for (const QSize size : {QSize(800, 500), QSize(300, 200)}) {
        fake.resized[fake.root](size);
        EXPECT_EQ(window.geometry(), QRect(QPoint(0, 0), size));
        ASSERT_EQ(window.canvas().size(), size);
        const QRect kept = QRect(0, 0, 300, 200);
        EXPECT_EQ(window.canvas().copy(kept), before.copy(kept));
    }
    fake.resized[fake.root](QSize(640, 480));
    // Ground that came back after the screen shrank is new ground: black.
    EXPECT_EQ(window.canvas().pixel(639, 479), 0xff000000u);
    EXPECT_EQ(window.canvas().copy(0, 0, 300, 200), before.copy(0, 0, 300, 200));
}

TEST_F(SaverWindow, BlankClearsTheSnapshotToBlack)
{
    SaverSettings.Blank = -1;
    OpenFrog1 window(fake, sprites);
    EXPECT_EQ(window.canvas(), testsprites::uniform(640, 480, 0xff000000));
}

TEST_F(SaverWindow, WithoutAScreenStartsOnBlack)
{
    fake.screenImage = QImage();
    OpenFrog1 window(fake, sprites);
    EXPECT_EQ(window.canvas(), testsprites::uniform(640, 480, 0xff000000));
}

TEST_F(SaverWindow, PaintsARectangleStraightFromItsCanvas)
{
    // Remembers which image each refresh put on the window.
    struct Painter : FakePlatform {
        std::vector<const QImage*> images;
        void refresh(QWindow& window, const QImage& image, const QRect& rect) override
        {
            FakePlatform::refresh(window, image, rect);
            images.push_back(&image);
        }
    } painter;
    painter.screenImage = fake.screenImage;
    OpenFrog1 window(painter, sprites);
    painter.calls.clear();
    QPaintEvent exposed(QRect(10, 20, 130, 70));
    window.paintEvent(&exposed);
    EXPECT_EQ(painter.calls, Calls{"refresh(10,20,130,70)"});
    EXPECT_EQ(painter.images, std::vector<const QImage*>{&window.canvas()});
}

TEST_F(SaverWindow, AnyKeyEndsItModifiersAlone)
{
    for (Qt::Key key : {Qt::Key_Shift, Qt::Key_Control, Qt::Key_Alt, Qt::Key_Meta, Qt::Key_A,
                        Qt::Key_Escape, Qt::Key_F1}) {
        OpenFrog1 window(fake, sprites);
        fake.calls.clear();
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        EXPECT_TRUE(ends(fake, [&] { window.keyPressEvent(&press); })) << key;
        ASSERT_GE(fake.calls.size(), 3u);
        EXPECT_EQ(fake.calls[0].rfind("ShowCursor(-1)", 0), 0u);
        EXPECT_EQ(fake.calls.back(), "endProcess(0)");
        EXPECT_EQ(fake.callsStartingWith("releaseInput").size(), 1u);
    }
}

TEST_F(SaverWindow, AnyButtonDownEndsItAReleaseAloneDoesNot)
{
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton,
                                   Qt::BackButton}) {
        OpenFrog1 window(fake, sprites);
        QMouseEvent release = mouse(QEvent::MouseButtonRelease, {50, 50}, button);
        EXPECT_FALSE(ends(fake, [&] { QCoreApplication::sendEvent(&window, &release); }));
        QMouseEvent press = mouse(QEvent::MouseButtonPress, {50, 50}, button);
        EXPECT_TRUE(ends(fake, [&] { window.mousePressEvent(&press); })) << button;
    }
}

TEST_F(SaverWindow, MovesEndItByThePointerRule)
{
    OpenFrog1 window(fake, sprites);
    auto move = [&](QPointF at) {
        QMouseEvent event = mouse(QEvent::MouseMove, at);
        return ends(fake, [&] { window.mouseMoveEvent(&event); });
    };
    EXPECT_FALSE(move({600, 400})); // the first move only records
    EXPECT_FALSE(move({603, 397}));
    EXPECT_TRUE(move({603, 401}));
}

TEST_F(SaverWindow, MovesAtFrogScale2CountInFrogPixels)
{
    const SpriteSet doubled = scaledSprites(sprites, 2);
    OpenFrog1 window(fake, doubled);
    auto move = [&](QPointF at) {
        QMouseEvent event = mouse(QEvent::MouseMove, at);
        return ends(fake, [&] { window.mouseMoveEvent(&event); });
    };
    EXPECT_FALSE(move({600, 400}));
    EXPECT_FALSE(move({606, 394})); // 3 frog pixels each way
    EXPECT_TRUE(move({606, 402}));
}

// Posts a key press to the window during the first pause of a jump.
struct KeyDuringJump : FakePlatform {
    QWindow* window = nullptr;
    void Sleep(std::uint32_t ms) override
    {
        if (window && callsStartingWith("Sleep").empty())
            QCoreApplication::postEvent(window, new QKeyEvent(QEvent::KeyPress, Qt::Key_A,
                                                              Qt::NoModifier));
        FakePlatform::Sleep(ms);
    }
};

TEST_F(SaverWindow, InputDuringATickIsHandledAfterIt)
{
    KeyDuringJump platform;
    platform.screenImage = fake.screenImage;
    OpenFrog1 window(platform, sprites);
    platform.window = &window;
    window.scheduler().StartTick();
    window.scheduler().MoveTick();
    EXPECT_TRUE(platform.callsStartingWith("endProcess").empty());
    EXPECT_EQ(platform.callsStartingWith("refresh").size(), 14u); // both frogs moved
    EXPECT_TRUE(ends(platform, [&] { QCoreApplication::sendPostedEvents(&window); }));
    EXPECT_EQ(platform.calls.back(), "endProcess(0)");
}

TEST_F(SaverWindow, AKeyInTheEventLoopEndsTheLoop)
{
    OpenFrog1 window(fake, sprites);
    QEventLoop loop;
    fake.eventLoop = &loop;
    QTimer::singleShot(5000, &loop, [&] { loop.exit(-1); }); // deadline should the key be lost
    QCoreApplication::postEvent(&window, new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier));
    EXPECT_EQ(loop.exec(), 0);
    EXPECT_EQ(fake.endStatus, 0);
    EXPECT_EQ(fake.callsStartingWith("endProcess"), Calls{"endProcess(0)"});
    fake.eventLoop = nullptr;
}

} // namespace
