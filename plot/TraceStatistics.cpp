// SPDX-License-Identifier: MIT
#include "TraceStatistics.h"

#include "AxisRanges.h"
#include "ColumnNames.h"
#include "FileNameParts.h"
#include "GraphPainter.h"
#include "TraceSampling.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

// Two sets of sums, fed alternately: each addition waits for the one before
// it in its own set only, which nearly halves the time of a long trace.
struct Sums {
    double Sum = 0;
    double Squares = 0;
};

template <bool CheckX>
TraceStatistics Compute(const float* xs, const float* ys, std::size_t first, std::size_t last, double lo, double hi)
{
    constexpr double kUnknown = std::numeric_limits<double>::quiet_NaN();
    TraceStatistics stats;
    stats.Min = stats.Max = stats.Mean = stats.Rms = stats.StdDev = stats.PeakToPeak = kUnknown;
    stats.XOfMin = stats.XOfMax = kUnknown;
    float low = 0, high = 0;
    std::size_t lowAt = 0, highAt = 0;
    // Sums of the differences from the first finite value: a large constant
    // part would otherwise eat the digits of the deviation.
    double shift = 0;
    bool shifted = false;
    std::size_t finite = 0;
    Sums lanes[2];
    auto take = [&](std::size_t i, Sums& lane) {
        const float y = ys[i];
        if (std::isnan(y))
            return;
        if constexpr (CheckX) {
            const double x = xs[i];
            if (!(x >= lo && x <= hi))
                return;
        }
        if (stats.Points == 0 || y < low) {
            low = y;
            lowAt = i;
        }
        if (stats.Points == 0 || y > high) {
            high = y;
            highAt = i;
        }
        ++stats.Points;
        if (std::isinf(y)) {
            ++stats.Infinite;
            return;
        }
        if (!shifted) {
            shift = y;
            shifted = true;
        }
        ++finite;
        const double d = double(y) - shift;
        lane.Sum += d;
        lane.Squares += d * d;
    };
    std::size_t i = first;
    for (; i + 1 < last; i += 2) {
        take(i, lanes[0]);
        take(i + 1, lanes[1]);
    }
    if (i < last)
        take(i, lanes[0]);
    if (stats.Points == 0)
        return stats;
    stats.Min = low;
    stats.Max = high;
    stats.XOfMin = xs[lowAt];
    stats.XOfMax = xs[highAt];
    // inf - inf would be NaN; all points at one infinity are no spread.
    stats.PeakToPeak = high == low ? 0.0 : double(high) - double(low);
    if (finite > 0) {
        const double n = double(finite);
        const double meanOffset = (lanes[0].Sum + lanes[1].Sum) / n;
        const double meanSquare = (lanes[0].Squares + lanes[1].Squares) / n;
        stats.Mean = shift + meanOffset;
        // The mean of the squares of the values themselves, from the same
        // sums: (d + shift)^2 summed over the points.
        stats.Rms = std::sqrt(std::max(0.0, meanSquare + 2 * shift * meanOffset + shift * shift));
        stats.StdDev = std::sqrt(std::max(0.0, meanSquare - meanOffset * meanOffset));
    }
    return stats;
}

}   // namespace

TraceStatistics ComputeStatistics(const float* xs, const float* ys, std::size_t first, std::size_t last, double lo,
                                  double hi)
{
    return Compute<true>(xs, ys, first, last, lo, hi);
}

TraceStatistics ComputeStatisticsOfRange(const float* xs, const float* ys, std::size_t first, std::size_t last)
{
    return Compute<false>(xs, ys, first, last, 0, 0);
}

std::vector<ShownTrace> ShownTraces(const PlotState& state, const TraceColumnNames& names)
{
    std::vector<ShownTrace> traces;
    const int numYs = ShownYs(state);
    const int displayed = std::clamp(state.DisplayedTraces, 0, kHistorySlots);
    for (int s = 0; s < displayed; ++s) {
        const TraceSlot& slot = state.Traces[s];
        if (!slot.Loaded())
            continue;
        std::vector<std::string> slotNames;
        bool named = false;
        for (int k = 1; k <= numYs; ++k) {
            if (!slot.Present[k] || slot.Table->Rows() <= k)
                continue;
            if (!named && names) {
                slotNames = names(slot);
                named = true;
            }
            traces.push_back({s, k, ExtractFileName(slot.Name) + ':' + AxisTitle(slotNames, state.ColumnMap[k])});
        }
    }
    return traces;
}

std::vector<TraceStatisticsRow> ShownTraceStatistics(const PlotState& state, double lo, double hi,
                                                     const TraceColumnNames& names, const XOrderQuery& sortedX)
{
    if (lo > hi)
        std::swap(lo, hi);
    std::vector<TraceStatisticsRow> rows;
    for (ShownTrace& trace : ShownTraces(state, names)) {
        const TraceSlot& slot = state.Traces[trace.Slot];
        const std::size_t count = DrawablePoints(slot);
        const float* xs = (*slot.Table)[0];
        const bool sorted = sortedX ? sortedX(slot) : XNeverDecreases(xs, count);
        // Sorted, the range holds exactly the points within the limits.
        const SampleRange range = SamplesWithin(xs, count, lo, hi, sorted);
        const TraceStatistics stats = sorted
            ? ComputeStatisticsOfRange(xs, (*slot.Table)[trace.Axis], range.Begin, range.End)
            : ComputeStatistics(xs, (*slot.Table)[trace.Axis], range.Begin, range.End, lo, hi);
        rows.push_back({std::move(trace), stats});
    }
    return rows;
}

std::string StatisticsNumber(double value)
{
    if (std::isnan(value))
        return {};
    if (std::isinf(value))
        return value > 0 ? "inf" : "-inf";
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 9);
    return std::string(text, result.ptr);
}

std::string StatisticsAsTsv(const std::vector<TraceStatisticsRow>& rows)
{
    std::string text = "trace\tpoints\tmin\tmax\tmean\trms\tstd\tpeak-to-peak\tx of min\tx of max\n";
    for (const TraceStatisticsRow& row : rows) {
        const TraceStatistics& s = row.Stats;
        text += row.Trace.Label;
        text += '\t' + std::to_string(s.Points);
        for (double v : {s.Min, s.Max, s.Mean, s.Rms, s.StdDev, s.PeakToPeak, s.XOfMin, s.XOfMax})
            text += '\t' + StatisticsNumber(v);
        text += '\n';
    }
    return text;
}
