// SPDX-License-Identifier: MIT
// DrawGraph over ten overlaid files of three Ys with 1,000,000 points each,
// against a baseline that only maps every point with ValueToPixel. Two shapes
// of X: monotone (a time series) and a random walk. The paint runs at device
// pixel ratio 1 and, next to it, at 2 (the picture of a 4K laptop).
#include "AxisRanges.h"
#include "GraphPainter.h"
#include "OverlaidTracesScene.h"

#include <benchmark/benchmark.h>

namespace {

using namespace bench_scene;

void BM_MapEveryPoint(benchmark::State& bench)
{
    Scene& scene = SceneFor(Shape(bench.range(0)));
    const PlotState& state = scene.State;
    for (auto _ : bench) {
        long sum = 0;
        for (int k = 1; k <= 3; ++k)
            for (int s = 0; s < kHistorySlots; ++s) {
                const DataTable& table = *state.Traces[s].Table;
                for (std::size_t i = 0; i < kPoints; ++i)
                    sum += ValueToPixelX(state, table[0][i]) + ValueToPixelY(state, k, table[k][i]);
            }
        benchmark::DoNotOptimize(sum);
    }
    bench.SetItemsProcessed(bench.iterations() * 3 * kHistorySlots * std::int64_t(kPoints));
}

// The scene's picture at a device pixel ratio given in percent.
RasterCanvas& CanvasAt(Scene& scene, int percent)
{
    if (percent == 100)
        return scene.Canvas;
    static std::vector<std::uint32_t> pixels;
    static RasterCanvas canvas{PixelBuffer{}};
    const DeviceGrid grid{percent / 100.0};
    const int width = grid.Edge(kClientWidth);
    const int height = grid.Edge(kClientHeight);
    pixels.assign(std::size_t(width) * std::size_t(height), 0);
    canvas.SetBuffer(PixelBuffer{pixels.data(), width, height, width, grid.Ratio});
    return canvas;
}

void BM_DrawGraph(benchmark::State& bench)
{
    Scene& scene = SceneFor(Shape(bench.range(0)));
    RasterCanvas& canvas = CanvasAt(scene, int(bench.range(1)));
    for (auto _ : bench) {
        DrawGraph(scene.State, canvas);
        benchmark::DoNotOptimize(canvas.Buffer().Pixels);
    }
    bench.SetItemsProcessed(bench.iterations() * 3 * kHistorySlots * std::int64_t(kPoints));
}

}   // namespace

// Each shape's baseline and painter run back to back on the same scene.
BENCHMARK(BM_MapEveryPoint)->Arg(kMonotoneX)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_DrawGraph)
    ->ArgNames({"shape", "ratio%"})
    ->Args({kMonotoneX, 100})
    ->Args({kMonotoneX, 200})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);
BENCHMARK(BM_MapEveryPoint)->Arg(kRandomWalkX)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_DrawGraph)
    ->ArgNames({"shape", "ratio%"})
    ->Args({kRandomWalkX, 100})
    ->Args({kRandomWalkX, 200})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

BENCHMARK_MAIN();
