// SPDX-License-Identifier: MIT
// Ten overlaid files of three Ys with 1,000,000 points each, with the limits
// a paint of the main window settles, and the main window's canvas beside
// them: the data the painter benchmarks share. Two shapes of X: monotone (a
// time series) and a random walk.
#pragma once

#include "AxisRanges.h"
#include "GraphPainter.h"
#include "PlainControls.h"

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace bench_scene {

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
            TraceSlot& slot = State.Traces[static_cast<std::size_t>(s)];
            slot.Name = "/data/sweep/run" + std::to_string(s) + ".dat";
            slot.Table = AllocTable(4, kPoints);
            slot.Points = kPoints;
            for (int r = 0; r < 4; ++r) {
                float* row = (*slot.Table)[r];
                float walk = 0;
                slot.Max[static_cast<std::size_t>(r)] = kNoMaximum;
                slot.Min[static_cast<std::size_t>(r)] = kNoMinimum;
                for (std::size_t i = 0; i < kPoints; ++i) {
                    walk += step(rng);
                    row[i] = (r == 0 && shape == kMonotoneX) ? float(i) : walk;
                    slot.Max[static_cast<std::size_t>(r)] = std::max(slot.Max[static_cast<std::size_t>(r)], row[i]);
                    slot.Min[static_cast<std::size_t>(r)] = std::min(slot.Min[static_cast<std::size_t>(r)], row[i]);
                }
                slot.Present[static_cast<std::size_t>(r)] = 1;
            }
        }
        // The limits and the displayed count, as the main window's paint leaves them.
        SettleAxisRanges(State);
    }
};

// One scene at a time: two would take 2.4 GB.
inline Scene& SceneFor(Shape shape)
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

}   // namespace bench_scene
