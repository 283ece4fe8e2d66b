// SPDX-License-Identifier: MIT
// The large view at 1920 x 1080 over ten overlaid files of three Ys with
// 1,000,000 points each, beside the main window's painter on the same data:
// the first paint (every envelope computed) and later paints (envelopes from
// the cache) apart. Two shapes of X: monotone (a time series) and a random walk.
#include "AxisRanges.h"
#include "GraphPainter.h"
#include "LargeView.h"
#include "PlainControls.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

namespace {

constexpr std::size_t kPoints = 1'000'000;
constexpr int kClientWidth = 383;
constexpr int kClientHeight = 431;
const QSize kViewSize(1920, 1080);

enum Shape {
    kMonotoneX = 0,
    kRandomWalkX = 1
};

struct Scene {
    PlainControls Controls;
    PlotState State;
    std::vector<std::uint32_t> Pixels = std::vector<std::uint32_t>(kClientWidth * kClientHeight);
    RasterCanvas Canvas{PixelBuffer{Pixels.data(), kClientWidth, kClientHeight, kClientWidth}};

    explicit Scene(Shape shape)
    {
        State.Controls = &Controls;
        Controls.YsItem = 2;
        State.TracesShown = kHistorySlots;
        std::mt19937 rng(1234);
        std::normal_distribution<float> step(0, 1);
        for (int s = 0; s < kHistorySlots; ++s) {
            TraceSlot& slot = State.Traces[s];
            slot.Name = "/data/sweep/run" + std::to_string(s) + ".dat";
            slot.Table = AllocTable(4, kPoints);
            slot.Points = kPoints;
            for (int r = 0; r < 4; ++r) {
                float* row = (*slot.Table)[r];
                float walk = 0;
                slot.Max[r] = -1e37f;
                slot.Min[r] = 1e37f;
                for (std::size_t i = 0; i < kPoints; ++i) {
                    walk += step(rng);
                    row[i] = (r == 0 && shape == kMonotoneX) ? float(i) : walk;
                    slot.Max[r] = std::max(slot.Max[r], row[i]);
                    slot.Min[r] = std::min(slot.Min[r], row[i]);
                }
                slot.Present[r] = 1;
            }
        }
        // The view reads the limits the main window's last paint settled.
        DrawGraph(State, Canvas);
    }
};

Scene& SceneFor(Shape shape)
{
    static std::unique_ptr<Scene> scene;
    static int built = -1;
    if (built != shape) {
        scene.reset();
        scene = std::make_unique<Scene>(shape);
        built = shape;
    }
    return *scene;
}

QImage ViewImage()
{
    QImage image(kViewSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

void BM_MainWindowPaint(benchmark::State& bench)
{
    Scene& scene = SceneFor(Shape(bench.range(0)));
    for (auto _ : bench) {
        DrawGraph(scene.State, scene.Canvas);
        benchmark::DoNotOptimize(scene.Pixels.data());
    }
}

void BM_LargeViewFirstPaint(benchmark::State& bench)
{
    Scene& scene = SceneFor(Shape(bench.range(0)));
    QImage image = ViewImage();
    for (auto _ : bench) {
        LargeViewCache cache;
        QPainter painter(&image);
        RenderLargeView(painter, kViewSize, scene.State, ViewOptions{}, cache);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_LargeViewRepaint(benchmark::State& bench)
{
    Scene& scene = SceneFor(Shape(bench.range(0)));
    QImage image = ViewImage();
    LargeViewCache cache;
    {
        QPainter painter(&image);
        RenderLargeView(painter, kViewSize, scene.State, ViewOptions{}, cache);
    }
    const std::size_t computed = cache.Envelopes.Computations();
    for (auto _ : bench) {
        QPainter painter(&image);
        RenderLargeView(painter, kViewSize, scene.State, ViewOptions{}, cache);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    if (cache.Envelopes.Computations() != computed)
        bench.SkipWithError("a repaint computed an envelope again");
}

}   // namespace

BENCHMARK(BM_MainWindowPaint)
    ->Arg(kMonotoneX)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_LargeViewFirstPaint)
    ->Arg(kMonotoneX)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_LargeViewRepaint)
    ->Arg(kMonotoneX)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_MainWindowPaint)
    ->Arg(kRandomWalkX)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_LargeViewFirstPaint)
    ->Arg(kRandomWalkX)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_LargeViewRepaint)
    ->Arg(kRandomWalkX)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

int main(int argc, char** argv)
{
    // Text needs a GUI application; no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
