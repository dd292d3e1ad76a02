#pragma once
// A saver scene without a window system for the saver's unit tests: a
// recording platform that also keeps a copy of the canvas at every refresh,
// synthetic frogs on a noise ground, and the drawing and jumps over them.

#include "platform/fake/FakePlatform.h"
#include "saver/FrogState.h"
#include "saver/Jumps.h"
#include "sprites/FrogDrawing.h"
#include "startup/Globals.h"
#include "tests/support/TestSprites.h"

#include <QWindow>
#include <gtest/gtest.h>
#include <vector>

/** Keeps the canvas as it is at every refresh: one picture per frame shown. */
struct FilmingPlatform : platform::FakePlatform {
    std::vector<QImage> shown;
    void refresh(QWindow& window, const QImage& image, const QRect& rect) override
    {
        FakePlatform::refresh(window, image, rect);
        shown.push_back(image.copy());
    }
};

class SaverScene : public testing::Test {
protected:
    SaverScene()
    {
        SaverSettings = {};
        window.resize(canvas.size());
    }
    ~SaverScene() override { SaverSettings = {}; }

    /** A frog sitting at (x, y) as after load and the start tick. */
    FrogState frog(FrogKind kind, float x, float y)
    {
        FrogState state;
        state.kind = kind;
        state.X = x;
        state.Y = y;
        state.DrawnX = toInt16(x);
        state.DrawnY = toInt16(y);
        state.RestFrame = 1;
        drawing.SaveBackground(state, state.DrawnX, state.DrawnY);
        return state;
    }

    /** The ground with the green (or red) frog's frame k at (x, y). */
    QImage frogOn(const QImage& picture, int k, int x, int y, bool green = true) const
    {
        return testsprites::withFrog(picture, sprites, green, k, x, y);
    }

    FilmingPlatform platform;
    QWindow window;
    SpriteSet sprites = testsprites::make();
    QImage canvas = testsprites::noise(560, 480);
    const QImage ground = canvas.copy();
    platform::FakeCanvas shown{platform, window, canvas};
    FrogDrawing drawing{shown, sprites};
    Jumps jumps{platform, drawing};
};
