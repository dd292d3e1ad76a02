// One animation step with both marks into a 1920 x 1080 and a 3840 x 2160
// canvas (the step must not cost more on the larger screen), against a plain
// memcpy of the same number of bytes (eight 95 x 95 blocks).
#include "platform/fake/FakePlatform.h"
#include "sprites/FrogDrawing.h"
#include "tests/support/TestSprites.h"

#include <QGuiApplication>
#include <QWindow>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr std::size_t StepBytes = 8 * CellSize * CellSize * 4;

// The repaint belongs to the window system, not to the drawing measured here.
struct NoRepaint : platform::FakePlatform {
    void refresh(QWindow&, const QImage&, const QRect&) override {}
};

void AnimationStepWithBothMarks(benchmark::State& state)
{
    NoRepaint platform;
    QWindow window;
    const SpriteSet sprites = testsprites::make();
    const int width = int(state.range(0)), height = int(state.range(1));
    QImage canvas = testsprites::noise(width, height);
    platform::FakeCanvas shown(platform, window, canvas);
    FrogDrawing drawing(shown, sprites);
    FrogSprite frog{FrogKind::Green, std::int16_t(width / 2), std::int16_t(height / 2)};
    drawing.SaveBackground(frog, frog.DrawnX, frog.DrawnY);
    int x = width / 2, step = -10;
    for (auto _ : state) {
        // The frog walks to and fro across the screen, as a run of jumps would.
        if (x + step < 0 || x + step > width - CellSize)
            step = -step;
        x += step;
        drawing.RestoreBackground(frog);
        drawing.StampMask(4, frog.DrawnX, frog.DrawnY);
        drawing.StampMask(8, frog.DrawnX, frog.DrawnY);
        drawing.SaveBackground(frog, std::int16_t(x), frog.DrawnY);
        drawing.ComposeFrame(frog, 8);
        drawing.PresentFrame(frog, std::int16_t(x), frog.DrawnY);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations() * StepBytes));
}
BENCHMARK(AnimationStepWithBothMarks)->Args({1920, 1080})->Args({3840, 2160});

void PlainCopyOfTheSameBytes(benchmark::State& state)
{
    std::vector<char> from(StepBytes, 1), to(StepBytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), StepBytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations() * StepBytes));
}
BENCHMARK(PlainCopyOfTheSameBytes);

} // namespace

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
