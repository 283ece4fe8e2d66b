// SPDX-License-Identifier: MIT
// The large view at 1920 x 1080 over ten overlaid files of three Ys with
// 1,000,000 points each, beside the main window's painter on the same data:
// the first paint (every envelope computed) and later paints (envelopes from
// the cache) apart. Two shapes of X: monotone (a time series) and a random walk.
// Then the measuring tools on the same scene: one zoom step (every envelope
// computed again for the new limits) and the statistics of ten traces over
// the zoomed range.
#include "AxisRanges.h"
#include "GraphPainter.h"
#include "LargeView.h"
#include "OverlaidTracesScene.h"
#include "TraceSampling.h"
#include "TraceStatistics.h"
#include "ViewZoom.h"

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

// The middle `percent` of the scene's X range, zoomed by one wheel notch in
// (odd steps) or out (even steps), so that every step has limits of its own.
ViewLimits ZoomStep(const PlotState& state, double percent, bool in)
{
    ViewLimits limits = ViewLimits::FromState(state);
    const ViewAxisLimits whole = SaneLimits(limits.Axes[0]);
    const double middle = whole.Lower / 2 + whole.Upper / 2;
    const double half = (whole.Upper - whole.Lower) * percent / 200 * (in ? 0.8 : 1.0);
    limits.Axes[0] = {middle - half, middle + half};
    return limits;
}

void BM_ZoomStepRepaint(benchmark::State& bench)
{
    Scene& scene = SceneFor(Shape(bench.range(0)));
    const double percent = double(bench.range(1));
    // Ten traces (Y1 of every file) or all thirty.
    const int shownYs = int(bench.range(2));
    scene.Controls.YsItem = shownYs - 1;
    QImage image = ViewImage();
    LargeViewCache cache;
    ViewOptions options;
    options.Limits = ZoomStep(scene.State, percent, false);
    {
        // The order of X is looked at once per load, not per zoom.
        QPainter painter(&image);
        RenderLargeView(painter, kViewSize, scene.State, options, cache);
    }
    bool in = true;
    for (auto _ : bench) {
        options.Limits = ZoomStep(scene.State, percent, in);
        in = !in;
        QPainter painter(&image);
        RenderLargeView(painter, kViewSize, scene.State, options, cache);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    scene.Controls.YsItem = 2;
}

// Ten traces (Y1 of every file) over the middle `percent` of X, as the
// view's panel asks for them.
void BM_StatisticsAfterZoom(benchmark::State& bench)
{
    Scene& scene = SceneFor(Shape(bench.range(0)));
    const double percent = double(bench.range(1));
    const ViewAxisLimits x = ZoomStep(scene.State, percent, false).Axes[0];
    scene.Controls.YsItem = 0;
    EnvelopeCache order;
    const XOrderQuery sorted = [&order](const TraceSlot& slot) { return order.SortedX(slot); };
    std::size_t counted = 0;
    for (auto _ : bench) {
        const std::vector<TraceStatisticsRow> rows = ShownTraceStatistics(scene.State, x.Lower, x.Upper, {}, sorted);
        counted = 0;
        for (const TraceStatisticsRow& row : rows)
            counted += row.Stats.Points;
        benchmark::DoNotOptimize(rows.data());
    }
    bench.counters["traces"] = double(ShownTraces(scene.State, {}).size());
    scene.Controls.YsItem = 2;
    bench.counters["points"] = double(counted);
}

}   // namespace

BENCHMARK(BM_ZoomStepRepaint)
    ->ArgsProduct({{kMonotoneX, kRandomWalkX}, {100, 10, 1}, {1, 3}})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_StatisticsAfterZoom)
    ->ArgsProduct({{kMonotoneX, kRandomWalkX}, {100, 50, 10}})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

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
