// SPDX-License-Identifier: MIT
#include "ColumnEnvelope.h"

#include "GraphPainter.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

bool Missing(float v)
{
    return std::isnan(v);
}

std::uint64_t Mix(std::uint64_t h, std::uint64_t v)
{
    h ^= v + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
    return h;
}

std::uint64_t BitsOf(double v)
{
    return std::bit_cast<std::uint64_t>(v);
}

struct RunState {
    std::int32_t Column = 0;
    std::int32_t First = 0;
    std::int32_t Low = 0;
    std::int32_t High = 0;
    std::int32_t Last = 0;
    std::size_t LowAt = 0;
    std::size_t HighAt = 0;
    std::size_t Length = 0;
};

void FlushRun(const RunState& run, std::vector<EnvelopePoint>& out)
{
    const std::size_t start = out.size();
    out.push_back({run.Column, run.First});
    auto pushNew = [&](std::int32_t y) {
        if (out.back().Y != y)
            out.push_back({run.Column, y});
    };
    if (run.LowAt <= run.HighAt) {
        pushNew(run.Low);
        pushNew(run.High);
    } else {
        pushNew(run.High);
        pushNew(run.Low);
    }
    // A run whose points all share one pixel still draws that pixel as a
    // zero-length line when it has two points or more.
    if (out.back().Y != run.Last || (run.Length > 1 && out.size() - start == 1))
        out.push_back({run.Column, run.Last});
}

}   // namespace

ViewLimits ViewLimits::FromState(const PlotState& state)
{
    ViewLimits limits;
    for (int axis = 0; axis < kAxisCount; ++axis)
        limits.Axes[axis] = {state.Axes[axis].Lower, state.Axes[axis].Upper};
    return limits;
}

ViewAxisLimits UsableLimits(ViewAxisLimits limits)
{
    if (!std::isfinite(limits.Lower) || !std::isfinite(limits.Upper))
        return {0, 1};
    if (limits.Lower == limits.Upper) {
        const double v = limits.Lower;
        const double half = v == 0 ? 1 : std::fabs(v) * 0.1;
        return {v - half, v + half};
    }
    const double span = limits.Upper - limits.Lower;
    // A span too small to divide by, or too large to hold, cannot be mapped.
    if (!std::isfinite(span) || !std::isfinite(1.0 / span)) {
        const double middle = limits.Lower / 2 + limits.Upper / 2;
        const double half = middle == 0 ? 1 : std::fabs(middle) * 0.1;
        return std::isfinite(span) ? ViewAxisLimits{middle - half, middle + half} : ViewAxisLimits{-1e300, 1e300};
    }
    return limits;
}

PixelMap::PixelMap(ViewAxisLimits limits, int pixels, bool flip)
{
    limits = UsableLimits(limits);
    Lower = limits.Lower;
    Last = std::max(pixels, 1) - 1;
    Scale = Last / (limits.Upper - limits.Lower);
    if (!std::isfinite(Scale))
        Scale = 0;
    Flip = flip;
}

double PixelMap::Position(float value) const
{
    const double t = (double(value) - Lower) * Scale;
    const double p = Flip ? Last - t : t;
    return std::clamp(p, -double(kFarOutside), Last + kFarOutside);
}

double PixelMap::PositionOf(double value) const
{
    const double t = (value - Lower) * Scale;
    const double p = Flip ? Last - t : t;
    return std::clamp(p, -double(kFarOutside), Last + kFarOutside);
}

std::int32_t PixelMap::Pixel(float value) const
{
    const double t = (double(value) - Lower) * Scale;
    double p = std::floor((Flip ? Last - t : t) + 0.5);
    // Written so that a NaN from infinity times zero also lands inside.
    if (!(p >= -kFarOutside))
        p = -kFarOutside;
    if (p > Last + kFarOutside)
        p = Last + kFarOutside;
    return static_cast<std::int32_t>(p);
}

std::vector<EnvelopePoint> MapTracePoints(const float* xs, const float* ys, std::size_t count, const PixelMap& x,
                                          const PixelMap& y)
{
    std::vector<EnvelopePoint> out;
    out.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        if (!Missing(xs[i]) && !Missing(ys[i]))
            out.push_back({x.Pixel(xs[i]), y.Pixel(ys[i])});
    return out;
}

std::vector<EnvelopePoint> ReduceTrace(const float* xs, const float* ys, std::size_t count, const PixelMap& x,
                                       const PixelMap& y)
{
    std::vector<EnvelopePoint> out;
    std::size_t i = 0;
    while (i < count && (Missing(xs[i]) || Missing(ys[i])))
        ++i;
    if (i == count)
        return out;

    RunState run;
    run.Column = x.Pixel(xs[i]);
    run.First = run.Low = run.High = run.Last = y.Pixel(ys[i]);
    run.Length = 1;
    for (++i; i < count; ++i) {
        if (Missing(xs[i]) || Missing(ys[i]))
            continue;
        const std::int32_t px = x.Pixel(xs[i]);
        const std::int32_t py = y.Pixel(ys[i]);
        if (px == run.Column) {
            if (py < run.Low) {
                run.Low = py;
                run.LowAt = run.Length;
            }
            if (py > run.High) {
                run.High = py;
                run.HighAt = run.Length;
            }
            run.Last = py;
            ++run.Length;
            continue;
        }
        FlushRun(run, out);
        run = RunState{px, py, py, py, py, 0, 0, 1};
    }
    FlushRun(run, out);
    out.shrink_to_fit();
    return out;
}

namespace {

// Written so that a NaN never wins a comparison and the loop needs no branch.
void TakeExtremes(const float* values, std::size_t begin, std::size_t end, float& low, float& high)
{
    float l = low, h = high;
    for (std::size_t i = begin; i < end; ++i) {
        const float v = values[i];
        l = v < l ? v : l;
        h = v > h ? v : h;
    }
    low = l;
    high = h;
}

}   // namespace

BlockExtremes::BlockExtremes(const float* values, std::size_t count)
{
    const std::size_t blocks = (count + kBlock - 1) / kBlock;
    m_low.resize(blocks);
    m_high.resize(blocks);
    for (std::size_t b = 0; b < blocks; ++b) {
        float low = HUGE_VALF, high = -HUGE_VALF;
        TakeExtremes(values, b * kBlock, std::min(count, (b + 1) * kBlock), low, high);
        m_low[b] = low;
        m_high[b] = high;
    }
}

BlockExtremes::Extremes BlockExtremes::Over(const float* values, std::size_t begin, std::size_t end) const
{
    Extremes e;
    const std::size_t firstWhole = (begin + kBlock - 1) / kBlock;
    const std::size_t endWhole = end / kBlock;
    if (firstWhole >= endWhole || endWhole > m_low.size()) {
        TakeExtremes(values, begin, end, e.Low, e.High);
        return e;
    }
    TakeExtremes(values, begin, firstWhole * kBlock, e.Low, e.High);
    // A block without a number holds +inf and -inf: each array only feeds
    // its own side.
    float low = e.Low, high = e.High, unused = 0;
    TakeExtremes(m_low.data(), firstWhole, endWhole, low, unused);
    TakeExtremes(m_high.data(), firstWhole, endWhole, unused, high);
    e.Low = low;
    e.High = high;
    TakeExtremes(values, endWhole * kBlock, end, e.Low, e.High);
    return e;
}

std::vector<EnvelopePoint> ReduceSortedTrace(const float* xs, const float* ys, std::size_t begin, std::size_t end,
                                             const PixelMap& x, const PixelMap& y, const BlockExtremes& blocks)
{
    std::vector<EnvelopePoint> out;
    std::size_t i = begin;
    std::size_t guessLength = 1;
    while (i < end) {
        const std::int32_t column = x.Pixel(xs[i]);
        // The first point of a later column (the pixel never falls as X
        // grows), looked for where the last column's length says it is, then
        // by doubling steps and bisection: the probes stay in memory the
        // column reads anyway, where a bisection of the whole trace would
        // miss the cache at nearly every step.
        auto beyond = [&x, column](float v) { return x.Pixel(v) > column; };
        std::size_t low = i + 1;   // [i, low) lies in the column
        std::size_t high = end;    // high is beyond it, or the end
        // Doubling steps forward from low until a probe lies beyond the column.
        auto gallopForward = [&] {
            for (std::size_t step = 1; low + step - 1 < high; step *= 2) {
                const std::size_t probe = low + step - 1;
                if (beyond(xs[probe])) {
                    high = probe;
                    break;
                }
                low = probe + 1;
            }
        };
        const std::size_t guess = i + std::max<std::size_t>(guessLength, 1) - 1;
        if (guess >= low && guess < end) {
            if (!beyond(xs[guess])) {
                low = guess + 1;
                gallopForward();
            } else {
                high = guess;
                for (std::size_t step = 1; high >= low + step; step *= 2) {
                    const std::size_t probe = high - step;
                    if (!beyond(xs[probe])) {
                        low = probe + 1;
                        break;
                    }
                    high = probe;
                }
            }
        } else {
            gallopForward();
        }
        const float* next = std::partition_point(xs + low, xs + high, [&beyond](float v) { return !beyond(v); });
        const std::size_t stop = std::size_t(next - xs);
        std::size_t first = i;
        while (first < stop && Missing(ys[first]))
            ++first;
        if (first < stop) {
            std::size_t last = stop - 1;
            while (Missing(ys[last]))
                --last;
            const BlockExtremes::Extremes e = blocks.Over(ys, first, last + 1);
            // On the flipped Y axis the highest value is the lowest pixel.
            RunState run;
            run.Column = column;
            run.First = y.Pixel(ys[first]);
            run.Low = y.Pixel(e.High);
            run.High = y.Pixel(e.Low);
            run.Last = y.Pixel(ys[last]);
            run.Length = last > first ? 2 : 1;
            FlushRun(run, out);
        }
        guessLength = stop - i;
        i = std::max(stop, i + 1);
    }
    out.shrink_to_fit();
    return out;
}

CoverageGrid::CoverageGrid(int width, int height)
    : m_width(std::max(width, 0)),
      m_height(std::max(height, 0)),
      m_columns((m_width + kCell - 1) / kCell),
      m_rows((m_height + kCell - 1) / kCell),
      m_cells(std::size_t(m_columns) * std::size_t(m_rows), 0)
{
}

void CoverageGrid::MarkPixel(std::int64_t x, std::int64_t y)
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return;
    m_cells[std::size_t(y / kCell) * std::size_t(m_columns) + std::size_t(x / kCell)] = 1;
}

void CoverageGrid::AddPolyline(const std::vector<EnvelopePoint>& points)
{
    if (m_cells.empty() || points.empty())
        return;
    // A scatter of a million points would walk a million long lines; a sample
    // of them places the legend just as well.
    constexpr std::size_t kSegmentBudget = 200000;
    const std::size_t stride = std::max<std::size_t>(1, points.size() / kSegmentBudget);
    MarkPixel(points[0].X, points[0].Y);
    for (std::size_t i = 1; i < points.size(); i += stride) {
        double x0 = points[i - 1].X, y0 = points[i - 1].Y;
        double x1 = points[i].X, y1 = points[i].Y;
        // Liang-Barsky clip to the area, so a line from far outside costs no
        // more than one inside.
        double t0 = 0, t1 = 1;
        const double dx = x1 - x0, dy = y1 - y0;
        const double p[4] = {-dx, dx, -dy, dy};
        const double q[4] = {x0, m_width - 1 - x0, y0, m_height - 1 - y0};
        bool inside = true;
        for (int k = 0; k < 4 && inside; ++k) {
            if (p[k] == 0) {
                inside = q[k] >= 0;
            } else {
                const double r = q[k] / p[k];
                if (p[k] < 0)
                    t0 = std::max(t0, r);
                else
                    t1 = std::min(t1, r);
                inside = t0 <= t1;
            }
        }
        if (!inside)
            continue;
        const double ax = x0 + t0 * dx, ay = y0 + t0 * dy;
        const double bx = x0 + t1 * dx, by = y0 + t1 * dy;
        const double length = std::max(std::fabs(bx - ax), std::fabs(by - ay));
        const int steps = static_cast<int>(length * 2 / kCell) + 1;
        for (int s = 0; s <= steps; ++s) {
            const double t = double(s) / steps;
            // Clipped, the points are never below zero, where adding a half
            // and cutting off rounds as llround does (and is not a call).
            MarkPixel(static_cast<std::int64_t>(ax + t * (bx - ax) + 0.5),
                      static_cast<std::int64_t>(ay + t * (by - ay) + 0.5));
        }
    }
}

void CoverageGrid::Add(const CoverageGrid& other)
{
    if (other.m_columns != m_columns || other.m_rows != m_rows)
        return;
    for (std::size_t i = 0; i < m_cells.size(); ++i)
        m_cells[i] |= other.m_cells[i];
}

long CoverageGrid::CountIn(int left, int top, int right, int bottom) const
{
    const int c0 = std::clamp(left / kCell, 0, m_columns);
    const int c1 = std::clamp((right + kCell - 1) / kCell, 0, m_columns);
    const int r0 = std::clamp(top / kCell, 0, m_rows);
    const int r1 = std::clamp((bottom + kCell - 1) / kCell, 0, m_rows);
    long count = 0;
    for (int r = r0; r < r1; ++r)
        for (int c = c0; c < c1; ++c)
            count += m_cells[std::size_t(r) * std::size_t(m_columns) + std::size_t(c)];
    return count;
}

std::size_t EnvelopeKeyHash::operator()(const EnvelopeKey& key) const
{
    std::uint64_t h = reinterpret_cast<std::uintptr_t>(key.Table);
    h = Mix(h, key.Points);
    h = Mix(h, std::uint64_t(key.Axis));
    h = Mix(h, key.Fingerprint);
    h = Mix(h, BitsOf(key.XLower));
    h = Mix(h, BitsOf(key.XUpper));
    h = Mix(h, BitsOf(key.YLower));
    h = Mix(h, BitsOf(key.YUpper));
    h = Mix(h, std::uint64_t(key.Width) << 32 | std::uint32_t(key.Height));
    h = Mix(h, BitsOf(key.Ratio));
    return static_cast<std::size_t>(h);
}

std::uint64_t SlotFingerprint(const TraceSlot& slot)
{
    std::uint64_t h = Mix(0, slot.Points);
    for (int axis = 0; axis < kAxisCount; ++axis) {
        h = Mix(h, std::bit_cast<std::uint32_t>(slot.Min[axis]));
        h = Mix(h, std::bit_cast<std::uint32_t>(slot.Max[axis]));
        h = Mix(h, std::uint64_t(slot.Present[axis]));
    }
    const std::size_t count = DrawablePoints(slot);
    if (count == 0)
        return h;
    constexpr std::size_t kSamples = 32;
    for (int row = 0; row < slot.Table->Rows(); ++row) {
        const float* values = (*slot.Table)[row];
        for (std::size_t s = 0; s < kSamples; ++s)
            h = Mix(h, std::bit_cast<std::uint32_t>(values[(count - 1) * s / (kSamples - 1)]));
    }
    return h;
}

EnvelopeKey MakeEnvelopeKey(const TraceSlot& slot, int axis, const ViewLimits& limits, int width, int height,
                            double ratio)
{
    EnvelopeKey key;
    key.Table = slot.Table.get();
    key.Points = DrawablePoints(slot);
    key.Axis = axis;
    key.Fingerprint = SlotFingerprint(slot);
    key.XLower = limits.Axes[0].Lower;
    key.XUpper = limits.Axes[0].Upper;
    key.YLower = limits.Axes[axis].Lower;
    key.YUpper = limits.Axes[axis].Upper;
    key.Width = width;
    key.Height = height;
    key.Ratio = ratio;
    return key;
}

std::shared_ptr<const TraceEnvelope> ComputeEnvelope(const TraceSlot& slot, int axis, const ViewLimits& limits,
                                                     int width, int height)
{
    const bool sorted = slot.Loaded() && XNeverDecreases((*slot.Table)[0], DrawablePoints(slot));
    return ComputeEnvelope(slot, axis, limits, width, height, sorted);
}

std::shared_ptr<const TraceEnvelope> ComputeEnvelope(const TraceSlot& slot, int axis, const ViewLimits& limits,
                                                     int width, int height, bool sortedX, const BlockExtremes* blocks)
{
    auto envelope = std::make_shared<TraceEnvelope>();
    envelope->Coverage = CoverageGrid(width, height);
    if (!slot.Loaded() || axis < 1 || axis >= kAxisCount || slot.Table->Rows() <= axis)
        return envelope;
    const std::size_t count = DrawablePoints(slot);
    const PixelMap mapX(limits.Axes[0], width, false);
    const PixelMap mapY(limits.Axes[axis], height, true);
    const float* xs = (*slot.Table)[0];
    // Samples a little outside the limits still round into the edge columns,
    // so the search reaches two pixels further; beyond the neighbours of what
    // it finds, a sorted X only goes further out, where no line can reach
    // the plot area.
    const ViewAxisLimits shown = UsableLimits(limits.Axes[0]);
    const double margin = mapX.Scale > 0 ? 2 / mapX.Scale : 0;
    SampleRange range{0, count};
    if (sortedX)
        range = WithNeighbours(SamplesWithin(xs, count, std::min(shown.Lower, shown.Upper) - margin,
                                             std::max(shown.Lower, shown.Upper) + margin, true),
                               count);
    // A line passes over NaN values to the next number: a neighbour without
    // one is no end of the line into the view.
    const float* ys = (*slot.Table)[axis];
    while (range.Begin > 0 && Missing(ys[range.Begin]))
        --range.Begin;
    while (range.End < count && range.End > 0 && Missing(ys[range.End - 1]))
        ++range.End;
    envelope->Drawn = range;
    envelope->InputPoints = range.Size();
    if (sortedX && blocks)
        envelope->Points = ReduceSortedTrace(xs, (*slot.Table)[axis], range.Begin, range.End, mapX, mapY, *blocks);
    else
        envelope->Points = ReduceTrace(xs + range.Begin, (*slot.Table)[axis] + range.Begin, range.Size(), mapX, mapY);
    envelope->Coverage.AddPolyline(envelope->Points);
    return envelope;
}

std::shared_ptr<const TraceEnvelope> EnvelopeCache::Get(const TraceSlot& slot, int axis, const ViewLimits& limits,
                                                        int width, int height, double ratio)
{
    const EnvelopeKey key = MakeEnvelopeKey(slot, axis, limits, width, height, ratio);
    Entry& entry = m_entries[key];
    if (!entry.Envelope) {
        OrderEntry& order = OrderOf(slot);
        std::shared_ptr<const BlockExtremes>& blocks = order.Blocks[std::size_t(std::clamp(axis, 0, kAxisCount - 1))];
        // Block places are 32 bits: a longer table takes the plain reduction.
        if (order.Sorted && !blocks && axis >= 1 && axis < kAxisCount && slot.Table->Rows() > axis &&
            order.Points <= std::numeric_limits<std::uint32_t>::max())
            blocks = std::make_shared<BlockExtremes>((*slot.Table)[axis], order.Points);
        entry.Envelope = ComputeEnvelope(slot, axis, limits, width, height, order.Sorted, blocks.get());
        ++m_computations;
    }
    entry.Used = true;
    return entry.Envelope;
}

bool EnvelopeCache::SortedX(const TraceSlot& slot)
{
    return slot.Loaded() && OrderOf(slot).Sorted;
}

EnvelopeCache::OrderEntry& EnvelopeCache::OrderOf(const TraceSlot& slot)
{
    // Tables of files long gone would pile up over a day of stepping.
    if (m_order.size() > 4 * kHistorySlots)
        m_order.clear();
    OrderEntry& entry = m_order[slot.Table.get()];
    const std::uint64_t fingerprint = SlotFingerprint(slot);
    const std::size_t count = DrawablePoints(slot);
    if (entry.Fingerprint != fingerprint || entry.Points != count || count == 0) {
        entry = OrderEntry{};
        entry.Fingerprint = fingerprint;
        entry.Points = count;
        entry.Sorted = slot.Loaded() && XNeverDecreases((*slot.Table)[0], count);
    }
    return entry;
}

void EnvelopeCache::BeginRender()
{
    for (auto it = m_entries.begin(); it != m_entries.end();) {
        if (!it->second.Used) {
            it = m_entries.erase(it);
        } else {
            it->second.Used = false;
            ++it;
        }
    }
}
