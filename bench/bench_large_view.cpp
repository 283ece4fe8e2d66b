// SPDX-License-Identifier: MIT
// The large view at 1920 x 1080 over ten overlaid files of three Ys with
// 1,000,000 points each, beside the main window's painter on the same data:
// the first paint (every envelope computed) and later paints (envelopes from
// the cache) apart. Two shapes of X: monotone (a time series) and a random walk.
#include "AxisRanges.h"
#include "GraphPainter.h"
#include "LargeView.h"
#include "OverlaidTracesScene.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

using namespace bench_scene;

const QSize kViewSize(1920, 1080);

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
