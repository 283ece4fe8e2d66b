// SPDX-License-Identifier: MIT
// DrawGraph over ten overlaid files of three Ys with 1,000,000 points each,
// against a baseline that only maps every point with ValueToPixel. Two shapes
// of X: monotone (a time series) and a random walk.
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

void BM_DrawGraph(benchmark::State& bench)
{
    Scene& scene = SceneFor(Shape(bench.range(0)));
    for (auto _ : bench) {
        DrawGraph(scene.State, scene.Canvas);
        benchmark::DoNotOptimize(scene.Pixels.data());
    }
    bench.SetItemsProcessed(bench.iterations() * 3 * kHistorySlots * std::int64_t(kPoints));
}

}   // namespace

// Each shape's baseline and painter run back to back on the same scene.
BENCHMARK(BM_MapEveryPoint)->Arg(kMonotoneX)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_DrawGraph)->Arg(kMonotoneX)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_MapEveryPoint)->Arg(kRandomWalkX)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_DrawGraph)->Arg(kRandomWalkX)->Unit(benchmark::kMillisecond)->MinTime(2.0);

BENCHMARK_MAIN();
