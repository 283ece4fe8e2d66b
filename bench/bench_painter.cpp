// SPDX-License-Identifier: MIT
// DrawGraph over ten overlaid files of three Ys with 1,000,000 points each,
// against a baseline that only maps every point with ValueToPixel. Two shapes
// of X: monotone (a time series) and a random walk.
#include "AxisRanges.h"
#include "GraphPainter.h"
#include "PlainControls.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

namespace {

constexpr std::size_t kPoints = 1'000'000;
constexpr int kClientWidth = 383;
constexpr int kClientHeight = 431;

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
        SettleAxisRanges(State);
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
