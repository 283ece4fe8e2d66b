// SPDX-License-Identifier: MIT
// Dense traces are drawn column by column. Within one pixel column the
// segments between consecutive points are vertical, and LineTo leaves out each
// end pixel, so the segments of a run of points p(a)..p(b) in column c cover
// every row between the run's minimum and maximum, except perhaps the last
// point's row when the walk only ever arrives there. A one-pixel segment
// leaving the run starts at the last point and covers that row anyway, so the
// whole column span can be painted at once and only the segments between
// columns are walked. The final run of a trace has no segment after it; for it
// the last row is checked against the run's steps.
//
// A wider pen (a device pixel ratio above 1) leaving flat covers the last row
// only in its own column, so there every run leaves that row to the steps that
// covered it. Whether they did is kept as the run grows: every row between the
// minimum and the maximum but the last is covered, so a step arriving at a row
// covers it when an earlier step had reached that far.
//
// The walk hands its strokes to a sink: the canvas itself, or a recorder whose
// strokes are painted later (several traces are walked at once that way).
#pragma once

#include "AxisRanges.h"
#include "Canvas.h"
#include "ColumnThresholds.h"
#include "DeviceGrid.h"
#include "PlotState.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>

// The plot rectangle on the canvas's device pixels. The wide pen of a ratio
// above 1 reaches (width - 1) / 2 pixels before its pixel, so the pixel sits
// that far in: a value on a limit then covers the frame's band exactly.
struct TraceFrame {
    int Left;
    int Bottom;
    AxisScale X;
    AxisScale Y;

    TraceFrame(const PlotState& state, const DeviceGrid& grid, int axis)
        : Left(grid.Edge(PlotRect.Left) + (grid.LineWidth() - 1) / 2),
          Bottom(grid.Edge(PlotRect.Top + PlotRect.Height) + (grid.LineWidth() - 1) / 2),
          X(state.Axes[0].Lower, state.Axes[0].Upper,
            grid.Edge(PlotRect.Left + PlotRect.Width) - grid.Edge(PlotRect.Left)),
          Y(state.Axes[axis].Lower, state.Axes[axis].Upper,
            grid.Edge(PlotRect.Top + PlotRect.Height) - grid.Edge(PlotRect.Top))
    {
    }
};

struct Mapper : TraceFrame {
    const float* Xs;
    const float* Ys;
    // Where X enters each column, for walking points of a sorted X without
    // mapping each; none for a sparse trace, where that does not pay.
    const ColumnThresholds* Columns;

    static bool Missing(float v) { return std::isnan(v); }
    bool Valid(std::size_t i) const { return !Missing(Xs[i]) && !Missing(Ys[i]); }
    int PixelX(std::size_t i) const { return Left + X.Offset(Xs[i]); }
    int PixelY(std::size_t i) const { return Bottom - Y.Offset(Ys[i]); }
};

// Whether the steps of the run from index start to the end arrive at row
// lastY without ever covering it (each step covers its start row up to, not
// including, its end row).
inline bool LastRowCovered(const Mapper& map, std::size_t start, std::size_t end, int lastY)
{
    bool have = false;
    int previous = 0;
    for (std::size_t i = start; i < end; ++i) {
        if (!map.Valid(i))
            continue;
        const int y = map.PixelY(i);
        if (have && ((previous <= lastY && lastY < y) || (y < lastY && lastY <= previous)))
            return true;
        previous = y;
        have = true;
    }
    return false;
}

// Whether DrawTrace draws anything of slot s's Y axis k at all.
bool TraceDrawable(const PlotState& state, int slot, int axis);

// The mapping of slot s's Y axis k on the grid.
Mapper TraceMapper(const PlotState& state, const DeviceGrid& grid, int slot, int axis);

// Where the frame's X enters each column, when a trace of `points` points
// has enough of them to a column for walking by threshold to pay.
std::optional<ColumnThresholds> ThresholdsFor(const TraceFrame& frame, std::size_t points);

inline constexpr std::size_t kWalkBlock = 256;

// Pixels of points base..base+size-1; a point with a NaN coordinate gets a
// negative x.
void MapBlock(const Mapper& map, std::size_t base, std::size_t size, int* xs, int* ys);

// The lowest and highest X and Y of the kWalkBlock points from `base`; false
// when a coordinate of one of them is NaN.
struct BlockExtremes {
    float MinX;
    float MaxX;
    float MinY;
    float MaxY;
};
bool BlockExtremesOf(const Mapper& map, std::size_t base, BlockExtremes& extremes);

// The rows of four values of the mapper's Y, as PixelY gives them.
void RowsOfFour(const Mapper& map, float a, float b, float c, float d, int* rows);

// Whether the points base..base+size-1 all have both coordinates and their
// X never decreases.
bool BlockSortedAndWhole(const Mapper& map, std::size_t base, std::size_t size);

// Points from..end-1 of a sorted X up to the first whose X is at or above
// `threshold` (End; end when none is, always for a NaN threshold), and the
// lowest and highest Y of those before it (infinities the wrong way round
// when there are none). One pass over both: a column's points are few.
struct RunBelow {
    std::size_t End;
    float Lowest;
    float Highest;
};
RunBelow PointsBelow(const Mapper& map, std::size_t from, std::size_t end, float threshold);

// When the kWalkBlock points from `base` all lie in the run's column, takes
// them into the run (its lowest and highest row, its last row) and returns
// true. The mapping of a coordinate never turns back on itself, so the
// block's X extremes both in the column put every point there, and its Y
// extremes give the rows the points reach, as mapping each would.
inline bool ExtendRunOverBlock(const Mapper& map, std::size_t base, int column, int& low, int& high, int& lastY)
{
    BlockExtremes e{};
    if (!BlockExtremesOf(map, base, e) || map.Left + map.X.Offset(e.MinX) != column ||
        map.Left + map.X.Offset(e.MaxX) != column)
        return false;
    const int a = map.Y.Offset(e.MinY);
    const int b = map.Y.Offset(e.MaxY);
    low = std::min(low, map.Bottom - std::max(a, b));
    high = std::max(high, map.Bottom - std::min(a, b));
    lastY = map.PixelY(base + kWalkBlock - 1);
    return true;
}

// The first point of first..count-1 with both coordinates, or count.
inline std::size_t FirstValidPoint(const Mapper& map, std::size_t first, std::size_t count)
{
    while (first < count && !map.Valid(first))
        ++first;
    return first;
}

// A point at or after `from` where the walk enters a new column (a valid
// point whose column differs from the valid point before it), or `count`
// when none is found within `within` points: a trace can be walked in two
// parts that meet there.
inline std::size_t ColumnChangeAfter(const Mapper& map, std::size_t first, std::size_t from, std::size_t count,
                                     std::size_t within)
{
    std::size_t before = from;
    while (before > first && !map.Valid(before - 1))
        --before;
    if (before == first)
        return count;
    int column = map.PixelX(before - 1);
    for (std::size_t i = from; i < count && i - from < within; ++i) {
        if (!map.Valid(i))
            continue;
        const int x = map.PixelX(i);
        if (x != column)
            return i;
        column = x;
    }
    return count;
}

// Where a walk stands: the next point to take and the run being gathered in
// the current column.
struct WalkPosition {
    std::size_t Next;
    std::size_t RunStart;
    int Column;
    int LastY;
    int Low;
    int High;
    bool LastCovered;   // kept for a wide pen only
};

// A walk about to start at point `first` (which must be valid).
inline WalkPosition WalkFrom(const Mapper& map, std::size_t first)
{
    const int y = map.PixelY(first);
    return {first + 1, first, map.PixelX(first), y, y, y, false};
}

// The run's column from its lowest to its highest row; unless whole, its
// last row left out.
template <typename Sink> void PaintRun(Sink& sink, const WalkPosition& at, bool whole)
{
    if (whole) {
        sink.PaintColumn(at.Column, at.Low, at.High);
        return;
    }
    if (at.Low < at.LastY)
        sink.PaintColumn(at.Column, at.Low, at.LastY - 1);
    if (at.LastY < at.High)
        sink.PaintColumn(at.Column, at.LastY + 1, at.High);
}

// The strokes of the step from the current run into (x, y), a new column.
template <bool WidePen, typename Sink> void StepIntoColumn(Sink& sink, const WalkPosition& run, int x, int y)
{
    if (run.Low != run.High)
        PaintRun(sink, run, !WidePen || run.LastCovered);
    sink.MoveTo(run.Column, run.LastY);
    sink.LineTo(x, y);
}

// Walks points at.Next..stop-1, all with both coordinates and an X that never
// decreases (a time series, say), a column at a time: the points below the
// next column's threshold are the run's, and the run reaches the rows of
// their lowest and highest Y, the mapping of a coordinate never turning
// back. Only a few values a column are mapped.
template <typename Sink> void WalkSortedBlock(const Mapper& map, Sink& sink, WalkPosition& run, std::size_t stop)
{
    const ColumnThresholds& columns = *map.Columns;
    std::size_t i = run.Next;
    if (const int x = map.PixelX(i); x != run.Column) {
        const int y = map.PixelY(i);
        StepIntoColumn<false>(sink, run, x, y);
        run = {i + 1, i, x, y, y, y, false};
        ++i;
    }
    while (i < stop) {
        const RunBelow below = PointsBelow(map, i, stop, columns.After(run.Column));
        const std::size_t e = below.End;
        // The rows of the run's lowest, highest and last Y and of the point
        // after it, mapped together.
        int rows[4];
        RowsOfFour(map, below.Lowest, below.Highest, map.Ys[e > i ? e - 1 : e], map.Ys[e < stop ? e : e - 1], rows);
        if (e > i) {
            run.Low = std::min(run.Low, std::min(rows[0], rows[1]));
            run.High = std::max(run.High, std::max(rows[0], rows[1]));
            run.LastY = rows[2];
        }
        if (e == stop)
            break;
        // A dense trace goes on into the next column; which one otherwise,
        // its mapping tells. (Nothing lies beyond the last column, so the
        // walk is left of it here.)
        const int x = map.Xs[e] < columns.After(run.Column + 1) ? run.Column + 1 : map.PixelX(e);
        StepIntoColumn<false>(sink, run, x, rows[3]);
        run = {e + 1, e, x, rows[3], rows[3], rows[3], false};
        i = e + 1;
    }
    run.Next = stop;
}

// Walks the points from at.Next up to end - 1, column by column, into the
// sink (PaintColumn, MoveTo, LineTo). A sink with Full() may stop the walk
// after any block of points; `at` then tells another sink where to go on.
template <bool WidePen, typename Sink> void WalkPoints(const Mapper& map, Sink& sink, WalkPosition& at, std::size_t end)
{
    // The position in locals: kept in `at` across the loop it would go
    // through memory at every point.
    std::size_t next = at.Next;
    std::size_t runStart = at.RunStart;
    int column = at.Column;
    int lastY = at.LastY;
    int low = at.Low;
    int high = at.High;
    bool lastCovered = at.LastCovered;
    // Points are mapped a block at a time, apart from the run bookkeeping, so
    // that the mapping loop carries no hard-to-predict branch.
    int xs[kWalkBlock];
    int ys[kWalkBlock];
    // A dense trace (thousands of points to a column) mostly has whole
    // blocks in one column; those need no mapping point by point. A block is
    // looked at that way only after one that entered no new column, so a
    // trace that changes columns all the time does not pay for the look.
    // (A wide pen's run also keeps which rows its steps covered, which only
    // the points one by one tell.)
    [[maybe_unused]] bool stayed = true;
    while (next < end) {
        const std::size_t base = next;
        const std::size_t size = std::min(kWalkBlock, end - base);
        bool taken = false;   // the block taken whole, without mapping each point
        if constexpr (!WidePen) {
            if (map.Columns && BlockSortedAndWhole(map, base, size)) {
                WalkPosition run{base, runStart, column, lastY, low, high, false};
                WalkSortedBlock(map, sink, run, base + size);
                runStart = run.RunStart;
                column = run.Column;
                lastY = run.LastY;
                low = run.Low;
                high = run.High;
                stayed = runStart < base;
                taken = true;
            } else if (stayed && size == kWalkBlock && ExtendRunOverBlock(map, base, column, low, high, lastY)) {
                taken = true;
            }
        }
        if (!taken) {
            MapBlock(map, base, size, xs, ys);
            for (std::size_t j = 0; j < size; ++j) {
                const int x = xs[j];
                if (x < 0)
                    continue;
                const int y = ys[j];
                if (x == column) {
                    if constexpr (WidePen)
                        lastCovered = y == lastY ? lastCovered : (low <= y && y <= high);
                    low = std::min(low, y);
                    high = std::max(high, y);
                    lastY = y;
                    continue;
                }
                StepIntoColumn<WidePen>(sink, {next, runStart, column, lastY, low, high, lastCovered}, x, y);
                runStart = base + j;
                column = x;
                lastY = low = high = y;
                lastCovered = false;
            }
            if constexpr (!WidePen)
                stayed = runStart < base;
        }
        next = base + size;
        if constexpr (requires { sink.Full(); })
            if (sink.Full())
                break;
    }
    at = {next, runStart, column, lastY, low, high, lastCovered};
}

// Ends a walk that has taken every point before `end`: at the end of the
// trace (end == count), or with the step into point `end`, which must be a
// ColumnChangeAfter point; a walk from there on then continues the trace.
template <bool WidePen, typename Sink>
void WalkEnd(const Mapper& map, Sink& sink, WalkPosition& at, std::size_t end, std::size_t count)
{
    if (end < count) {
        StepIntoColumn<WidePen>(sink, at, map.PixelX(end), map.PixelY(end));
        return;
    }
    // The final run has no step after it: its last row is painted only when
    // the run's own steps covered it.
    PaintRun(sink, at, LastRowCovered(map, at.RunStart, count, at.LastY));
    sink.MoveTo(at.Column, at.LastY);
}

// The runs of points first..end-1 (the first valid), as WalkPoints and WalkEnd.
template <bool WidePen, typename Sink>
void WalkRuns(const Mapper& map, Sink& sink, std::size_t first, std::size_t end, std::size_t count)
{
    WalkPosition at = WalkFrom(map, first);
    WalkPoints<WidePen>(map, sink, at, end);
    WalkEnd<WidePen>(map, sink, at, end, count);
}
