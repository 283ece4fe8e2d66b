// SPDX-License-Identifier: MIT
// The painter reduces dense traces column by column. Whatever the data, the
// picture must be the one that MoveTo to the first point and LineTo to every
// further point give, pixel for pixel.
#include "GraphPainter.h"

#include "AxisRanges.h"
#include "ColumnThresholds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <tuple>
#include <vector>

namespace {

constexpr int kWidth = 383;
constexpr int kHeight = 431;

enum class XShape {
    Monotone,
    MonotoneRepeats,
    Uniform,
    RandomWalk,
    FewColumns,
    Plateaus   // long runs of one X: whole blocks of points in one column
};
enum class YShape {
    RandomWalk,
    Uniform,
    Spikes,
    Constant
};

struct Trial {
    XShape X;
    YShape Y;
    unsigned Seed;
};

float Pick(std::mt19937& rng, std::initializer_list<float> values)
{
    std::uniform_int_distribution<std::size_t> index(0, values.size() - 1);
    return *(values.begin() + index(rng));
}

std::vector<float> MakeX(XShape shape, std::size_t n, std::mt19937& rng)
{
    std::uniform_real_distribution<float> unit(0, 1);
    std::normal_distribution<float> step(0, 1);
    std::vector<float> x(n);
    float walk = 0;
    // Some plateaus end exactly where the painter's blocks of 256 points do
    // (they start after the first point).
    const bool aligned = rng() % 2 == 0;
    const std::size_t plateau = aligned ? 256 * (1 + rng() % 4) : 200 + rng() % 1200;
    const std::size_t shift = aligned ? plateau - 1 : rng() % plateau;
    for (std::size_t i = 0; i < n; ++i) {
        switch (shape) {
        case XShape::Monotone: x[i] = float(i) + unit(rng) * 0.5f; break;
        case XShape::MonotoneRepeats: x[i] = float(i / (1 + rng() % 40)); break;
        case XShape::Uniform: x[i] = unit(rng) * float(n); break;
        case XShape::RandomWalk:
            walk += step(rng);
            x[i] = walk;
            break;
        case XShape::FewColumns: x[i] = float(rng() % 3) * float(n) / 2; break;
        case XShape::Plateaus: x[i] = float((i + shift) / plateau) + (rng() % 4 == 0 ? unit(rng) * 1e-3f : 0.0f); break;
        }
    }
    if (shape == XShape::MonotoneRepeats)
        std::sort(x.begin(), x.end());
    return x;
}

std::vector<float> MakeY(YShape shape, std::size_t n, std::mt19937& rng)
{
    std::uniform_real_distribution<float> unit(-1, 1);
    std::vector<float> y(n);
    float walk = 0;
    const float inf = std::numeric_limits<float>::infinity();
    for (std::size_t i = 0; i < n; ++i) {
        switch (shape) {
        case YShape::RandomWalk:
            walk += unit(rng);
            y[i] = walk;
            break;
        case YShape::Uniform: y[i] = unit(rng) * 100; break;
        case YShape::Spikes: y[i] = rng() % 7 == 0 ? Pick(rng, {1e30f, -1e30f, inf, -inf, 1e37f}) : unit(rng); break;
        case YShape::Constant: y[i] = 2.5f; break;
        }
    }
    return y;
}

// Limits around the data: tight, wider, narrower (points beyond the frame),
// inverted, or equal (every point on an edge).
void PickLimits(AxisState& axis, const std::vector<float>& values, std::mt19937& rng)
{
    float lo = std::numeric_limits<float>::max();
    float hi = -lo;
    for (float v : values)
        if (std::isfinite(v)) {
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
    if (lo > hi)
        lo = hi = 0;
    const float span = hi - lo;
    switch (rng() % 6) {
    case 0: axis = {hi, lo}; break;
    case 1: axis = {hi + span, lo - span}; break;
    case 2: axis = {hi - span / 3, lo + span / 3}; break;
    case 3: axis = {lo, hi}; break;
    case 4: axis = {lo, lo}; break;
    default: axis = {hi - span / 2, lo + span / 2 - 1}; break;
    }
}

void Fill(std::vector<std::uint32_t>& pixels, std::mt19937& rng)
{
    for (std::uint32_t& p : pixels)
        p = 0xFF000000u | (rng() & 0xFFFFFF);
}

// The trace as its definition draws it: a segment to every point.
void DrawPlain(const PlotState& state, RasterCanvas& canvas, int axis)
{
    const TraceSlot& slot = state.Traces[0];
    const float* xs = (*slot.Table)[0];
    const float* ys = (*slot.Table)[axis];
    bool started = false;
    for (std::size_t i = 0; i < slot.Table->Points(); ++i) {
        if (std::isnan(xs[i]) || std::isnan(ys[i]))
            continue;
        const int x = ValueToPixelX(state, xs[i]);
        const int y = ValueToPixelY(state, axis, ys[i]);
        if (started) {
            canvas.LineTo(x, y);
        } else {
            canvas.MoveTo(x, y);
            started = true;
        }
    }
}

// Slot 0 holds x as its X and y as column `axis`.
void PutTrace(PlotState& state, int axis, const std::vector<float>& x, const std::vector<float>& y)
{
    TraceSlot& slot = state.Traces[0];
    slot.Table = AllocTable(4, x.size());
    slot.Points = x.size();
    std::copy(x.begin(), x.end(), (*slot.Table)[0]);
    std::copy(y.begin(), y.end(), (*slot.Table)[axis]);
}

class ReducedTrace : public ::testing::TestWithParam<Trial> { };

}   // namespace

TEST_P(ReducedTrace, GivesExactlyThePixelsOfOneSegmentPerPoint)
{
    const Trial& trial = GetParam();
    std::mt19937 rng(trial.Seed);
    for (int round = 0; round < 40; ++round) {
        std::size_t n = round < 8 ? std::size_t(1 + round) : std::size_t(1 + rng() % 4000);
        if (trial.X == XShape::Plateaus && round >= 8)
            n = round % 2 ? 1 + 256 * (1 + rng() % 80) : 1 + rng() % 20000;
        std::vector<float> x = MakeX(trial.X, n, rng);
        std::vector<float> y = MakeY(trial.Y, n, rng);
        if (round % 3 == 0)
            for (std::size_t i = 0; i < n; ++i)
                if (rng() % 20 == 0)
                    (rng() % 2 ? x[i] : y[i]) = std::numeric_limits<float>::quiet_NaN();

        PlotState state;
        PutTrace(state, 2, x, y);
        PickLimits(state.Axes[0], x, rng);
        PickLimits(state.Axes[2], y, rng);

        std::vector<std::uint32_t> reduced(kWidth * kHeight);
        Fill(reduced, rng);
        std::vector<std::uint32_t> plain = reduced;
        RasterCanvas a(PixelBuffer{reduced.data(), kWidth, kHeight, kWidth});
        RasterCanvas b(PixelBuffer{plain.data(), kWidth, kHeight, kWidth});
        a.Pen.Color = b.Pen.Color = rng() & 0xFFFFFF;
        DrawTrace(state, a, 0, 2);
        DrawPlain(state, b, 2);
        ASSERT_TRUE(reduced == plain) << "round " << round << ", " << n << " points";

        // The processor's other road for mapping the points.
        std::fill(reduced.begin(), reduced.end(), 0u);
        std::fill(plain.begin(), plain.end(), 0u);
        DrawPlain(state, b, 2);
        AllowWideTraceMapping(false);
        DrawTrace(state, a, 0, 2);
        AllowWideTraceMapping(true);
        ASSERT_TRUE(reduced == plain) << "without AVX, round " << round << ", " << n << " points";
        ASSERT_EQ(a.PenX(), b.PenX());
        ASSERT_EQ(a.PenY(), b.PenY());
    }
}

INSTANTIATE_TEST_SUITE_P(
    GraphPainter, ReducedTrace,
    ::testing::Values(Trial{XShape::Monotone, YShape::RandomWalk, 1}, Trial{XShape::Monotone, YShape::Spikes, 2},
                      Trial{XShape::MonotoneRepeats, YShape::Uniform, 3},
                      Trial{XShape::MonotoneRepeats, YShape::Constant, 4}, Trial{XShape::Uniform, YShape::Uniform, 5},
                      Trial{XShape::Uniform, YShape::Spikes, 6}, Trial{XShape::RandomWalk, YShape::RandomWalk, 7},
                      Trial{XShape::RandomWalk, YShape::Spikes, 8}, Trial{XShape::FewColumns, YShape::RandomWalk, 9},
                      Trial{XShape::FewColumns, YShape::Uniform, 10}, Trial{XShape::Monotone, YShape::Constant, 11},
                      Trial{XShape::RandomWalk, YShape::Uniform, 12}, Trial{XShape::Plateaus, YShape::Spikes, 13},
                      Trial{XShape::Plateaus, YShape::Uniform, 14}, Trial{XShape::Plateaus, YShape::RandomWalk, 15}));

TEST(GraphPainter, ReducedTraceEndingInsideAColumnKeepsItsLastRowRule)
{
    // The final run goes up to row 100 and comes back to row 150 at the end:
    // the plain drawing covers 100..150 except nothing, since 150 was left by
    // an earlier step; ending on a fresh row leaves that row out.
    for (const std::vector<float>& ys : {std::vector<float>{0, 50, 10, 50}, std::vector<float>{0, 50, 10, 60},
                                         std::vector<float>{0, 50, 50, 50}, std::vector<float>{0, 20, 40, 60}}) {
        PlotState state;
        TraceSlot& slot = state.Traces[0];
        slot.Table = AllocTable(4, 5);
        slot.Points = 5;
        const float xs[] = {0, 10, 10, 10, 10};
        for (int i = 0; i < 5; ++i) {
            (*slot.Table)[0][i] = xs[i];
            (*slot.Table)[1][i] = i == 0 ? 0 : ys[i - 1];
        }
        state.Axes[0] = {10, 0};
        state.Axes[1] = {310, 0};
        std::vector<std::uint32_t> reduced(kWidth * kHeight, 0xFFFFFFFF);
        std::vector<std::uint32_t> plain = reduced;
        RasterCanvas a(PixelBuffer{reduced.data(), kWidth, kHeight, kWidth});
        RasterCanvas b(PixelBuffer{plain.data(), kWidth, kHeight, kWidth});
        DrawTrace(state, a, 0, 1);
        DrawPlain(state, b, 1);
        EXPECT_TRUE(reduced == plain) << ys[3];
    }
}

// A sorted X is walked a column at a time by comparing its values with where
// each column starts. Points exactly there and on the float just below,
// with columns left empty between them, land where their mapping puts them.
TEST(GraphPainter, SortedTraceOnTheColumnEdgesGivesThePixelsOfOneSegmentPerPoint)
{
    std::mt19937 rng(31);
    std::uniform_real_distribution<float> unit(-1, 1);
    for (int round = 0; round < 20; ++round) {
        PlotState state;
        const float lower = unit(rng) * 1000;
        const float upper = lower + std::ldexp(1.5f + unit(rng) * 0.5f, int(rng() % 24) - 12);
        state.Axes[0] = {upper, lower};
        const ColumnThresholds columns(AxisScale(lower, upper, PlotRect.Width), PlotRect.Left);
        std::vector<float> x;
        for (int c = PlotRect.Left; c < columns.Last(); ++c) {
            if (rng() % 4 == 0)
                continue;
            const float edge = columns.After(c);
            x.insert(x.end(), 8, std::nextafter(edge, -std::numeric_limits<float>::infinity()));
            x.insert(x.end(), 8, edge);
        }
        const std::vector<float> y = MakeY(YShape::RandomWalk, x.size(), rng);
        PutTrace(state, 1, x, y);
        PickLimits(state.Axes[1], y, rng);

        for (const bool wide : {true, false}) {
            std::vector<std::uint32_t> reduced(kWidth * kHeight, 0xFFFFFFFF);
            std::vector<std::uint32_t> plain = reduced;
            RasterCanvas a(PixelBuffer{reduced.data(), kWidth, kHeight, kWidth});
            RasterCanvas b(PixelBuffer{plain.data(), kWidth, kHeight, kWidth});
            AllowWideTraceMapping(wide);
            DrawTrace(state, a, 0, 1);
            AllowWideTraceMapping(true);
            DrawPlain(state, b, 1);
            ASSERT_TRUE(reduced == plain) << "round " << round << (wide ? "" : ", without AVX");
        }
    }
}

// Above ratio 1 the pen is wider than a pixel: a flat segment leaving a
// column covers the last row there only in its own column.
class ReducedTraceAtRatio : public ::testing::TestWithParam<std::tuple<double, XShape>> { };

TEST_P(ReducedTraceAtRatio, GivesExactlyThePixelsOfOneWideSegmentPerPoint)
{
    const auto [ratio, shape] = GetParam();
    const DeviceGrid grid{ratio};
    const int width = grid.Edge(kWidth);
    std::mt19937 rng(unsigned(ratio * 100) + unsigned(shape));
    for (int round = 0; round < 12; ++round) {
        const std::size_t n = 1 + rng() % 6000;
        const std::vector<float> x = MakeX(shape, n, rng);
        const std::vector<float> y = MakeY(round % 2 ? YShape::RandomWalk : YShape::Spikes, n, rng);
        PlotState state;
        state.Traces[0].Table = AllocTable(2, n);
        state.Traces[0].Points = n;
        std::copy(x.begin(), x.end(), (*state.Traces[0].Table)[0]);
        std::copy(y.begin(), y.end(), (*state.Traces[0].Table)[1]);
        PickLimits(state.Axes[0], x, rng);
        PickLimits(state.Axes[1], y, rng);

        std::vector<std::uint32_t> reduced(std::size_t(width) * std::size_t(grid.Edge(kHeight)));
        Fill(reduced, rng);
        std::vector<std::uint32_t> plain = reduced;
        RasterCanvas a(PixelBuffer{reduced.data(), width, grid.Edge(kHeight), width, ratio});
        RasterCanvas b(PixelBuffer{plain.data(), width, grid.Edge(kHeight), width, ratio});
        DrawTrace(state, a, 0, 1);
        b.Pen.Width = grid.LineWidth();
        for (std::size_t i = 0; i < n; ++i) {
            const DevicePoint p = TracePoint(state, grid, 1, x[i], y[i]);
            (i == 0) ? b.MoveTo(p.X, p.Y) : b.LineTo(p.X, p.Y);
        }
        ASSERT_TRUE(reduced == plain) << "round " << round << ", " << n << " points";
    }
}

INSTANTIATE_TEST_SUITE_P(GraphPainter, ReducedTraceAtRatio,
                         ::testing::Combine(::testing::Values(1.5, 2.0, 3.0),
                                            ::testing::Values(XShape::Monotone, XShape::RandomWalk,
                                                              XShape::FewColumns)));

// Traces walked on two threads, long ones in two parts, and painted in their
// order afterwards give the picture of drawing them one after another.
class TracesOnTwoThreads : public ::testing::TestWithParam<double> { };

TEST_P(TracesOnTwoThreads, GiveThePicturesOfOneTraceAfterAnother)
{
    const double ratio = GetParam();
    const DeviceGrid grid{ratio};
    const int width = grid.Edge(kWidth);
    const int height = grid.Edge(kHeight);
    std::mt19937 rng(unsigned(ratio * 10));
    const XShape xShapes[] = {XShape::Monotone, XShape::MonotoneRepeats, XShape::Uniform, XShape::RandomWalk,
                              XShape::FewColumns};
    for (int round = 0; round < 6; ++round) {
        PlotState state;
        std::vector<TraceToDraw> traces;
        for (int s = 0; s < 4; ++s) {
            // Mostly long enough to be cut in two; a uniform X of this many
            // points makes more strokes than a part keeps.
            const std::size_t n = s == 3 ? 1 + rng() % 50 : 20000 + rng() % 60000;
            const std::vector<float> x = MakeX(xShapes[(round + s) % 5], n, rng);
            TraceSlot& slot = state.Traces[s];
            slot.Table = AllocTable(4, n);
            slot.Points = n;
            std::copy(x.begin(), x.end(), (*slot.Table)[0]);
            for (int k = 1; k <= 3; ++k) {
                std::vector<float> y = MakeY(YShape(rng() % 4), n, rng);
                if (round % 3 == 0)
                    for (float& v : y)
                        v = rng() % 50 == 0 ? std::numeric_limits<float>::quiet_NaN() : v;
                std::copy(y.begin(), y.end(), (*slot.Table)[k]);
                traces.push_back({s, k, TColor(rng() & 0xFFFFFF)});
            }
        }
        std::shuffle(traces.begin(), traces.end(), rng);
        // Limits from the first points of the traces (slot 0 holds more
        // than fifty).
        auto firstPoints = [&state](int slot, int row) {
            const float* values = (*state.Traces[slot].Table)[row];
            return std::vector<float>(values, values + std::min<std::size_t>(50, state.Traces[slot].Points));
        };
        std::vector<float> all;
        for (int s = 0; s < 4; ++s) {
            const std::vector<float> xs = firstPoints(s, 0);
            all.insert(all.end(), xs.begin(), xs.end());
        }
        PickLimits(state.Axes[0], all, rng);
        for (int k = 1; k <= 3; ++k)
            PickLimits(state.Axes[k], firstPoints(0, k), rng);

        std::vector<std::uint32_t> together(std::size_t(width) * std::size_t(height));
        Fill(together, rng);
        std::vector<std::uint32_t> inTurn = together;
        RasterCanvas a(PixelBuffer{together.data(), width, height, width, ratio});
        RasterCanvas b(PixelBuffer{inTurn.data(), width, height, width, ratio});
        // Now and then the strokes run out: the rest of a walk goes straight
        // onto the canvas.
        DrawTracesInOrder(state, a, traces, {1, round % 2 ? std::size_t(20000) : std::size_t(1) << 20});
        for (const TraceToDraw& t : traces) {
            b.Pen.Color = t.Color;
            DrawTrace(state, b, t.Slot, t.Axis);
        }
        ASSERT_TRUE(together == inTurn) << "round " << round;
        ASSERT_EQ(a.PenX(), b.PenX());
        ASSERT_EQ(a.PenY(), b.PenY());
        ASSERT_EQ(a.Pen.Width, b.Pen.Width);
    }
}

INSTANTIATE_TEST_SUITE_P(GraphPainter, TracesOnTwoThreads, ::testing::Values(1.0, 2.0));
