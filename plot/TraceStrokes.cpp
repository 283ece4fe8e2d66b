// SPDX-License-Identifier: MIT
// Several traces drawn with both cores: their walks (the mapping of every
// point, nearly all of the work) run on two threads at once, each into a list
// of strokes, and the strokes are painted afterwards in the traces' order.
// Within one trace the order of its strokes does not matter: they all paint
// the one colour in copy mode. So a long trace is walked in two parts that
// meet where the walk enters a new column, which is where a walk of the whole
// trace passes the same state on.
#include "EachOnThreads.h"
#include "GraphPainter.h"
#include "TraceWalk.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

namespace {

// A walk takes room for strokes from the budget this many at a time. One
// that finds none left (an X that jumps from column to column at nearly
// every point makes about as many strokes as points) stops there.
constexpr std::int64_t kBudgetShare = 4096;
// Points looked at for the place to cut a trace in two; a trace without a
// new column there (every point in one column) stays whole.
constexpr std::size_t kCutSearch = std::size_t(1) << 16;

struct Stroke {
    enum Kind : std::uint8_t {
        Column,
        Move,
        Line
    };
    Kind What;
    int A;
    int B;
    int C;
};

class StrokeList {
public:
    explicit StrokeList(std::atomic<std::int64_t>& budget) : m_budget(&budget) { }

    void PaintColumn(int x, int top, int bottom) { Add({Stroke::Column, x, top, bottom}); }
    void MoveTo(int x, int y) { Add({Stroke::Move, x, y, 0}); }
    void LineTo(int x, int y) { Add({Stroke::Line, x, y, 0}); }
    bool Full() const { return m_full; }

    void PaintOnto(RasterCanvas& canvas) const
    {
        for (const Stroke& s : m_strokes) {
            switch (s.What) {
            case Stroke::Column: canvas.PaintColumn(s.A, s.B, s.C); break;
            case Stroke::Move: canvas.MoveTo(s.A, s.B); break;
            case Stroke::Line: canvas.LineTo(s.A, s.B); break;
            }
        }
    }

private:
    // Room is taken from the shared budget a share at a time; a stroke that
    // finds none is still kept (a block's walk is never cut short), and the
    // walk stops after the block.
    void Add(const Stroke& stroke)
    {
        if (m_strokes.size() == m_room && !m_full) {
            if (m_budget->fetch_sub(kBudgetShare) >= kBudgetShare)
                m_room += kBudgetShare;
            else
                m_full = true;
        }
        m_strokes.push_back(stroke);
    }

    std::atomic<std::int64_t>* m_budget;
    std::vector<Stroke> m_strokes;
    std::size_t m_room = 0;   // strokes the budget gave room for
    bool m_full = false;
};

// Part of one trace: points First..End-1, ending with the step into End when
// End is before Count.
struct Part {
    std::size_t Trace;
    Mapper Map;
    std::size_t First;
    std::size_t End;
    std::size_t Count;
    StrokeList Strokes;
    WalkPosition At{};   // where the walk into the strokes stopped
    bool Walked = false;
};

template <bool WidePen> void WalkIntoStrokes(Part& part)
{
    part.At = WalkFrom(part.Map, part.First);
    WalkPoints<WidePen>(part.Map, part.Strokes, part.At, part.End);
    if (part.At.Next >= part.End)
        WalkEnd<WidePen>(part.Map, part.Strokes, part.At, part.End, part.Count);
    part.Walked = true;
}

// The part's strokes, and the rest of its walk when the strokes ran out.
template <bool WidePen> void PaintPart(Part& part, RasterCanvas& canvas)
{
    if (!part.Walked) {
        WalkRuns<WidePen>(part.Map, canvas, part.First, part.End, part.Count);
        return;
    }
    part.Strokes.PaintOnto(canvas);
    if (part.At.Next < part.End) {
        WalkPoints<WidePen>(part.Map, canvas, part.At, part.End);
        WalkEnd<WidePen>(part.Map, canvas, part.At, part.End, part.Count);
    }
}

}   // namespace

void DrawTracesInOrder(const PlotState& state, RasterCanvas& canvas, const std::vector<TraceToDraw>& traces,
                       const TraceDrawing& how)
{
    const DeviceGrid grid = canvas.Grid();
    std::size_t points = 0;
    std::size_t longest = 0;
    int someAxis = 0;
    for (const TraceToDraw& trace : traces)
        if (TraceDrawable(state, trace.Slot, trace.Axis)) {
            const std::size_t count = DrawablePoints(state.Traces[trace.Slot]);
            points += count;
            longest = std::max(longest, count);
            someAxis = trace.Axis;
        }
    const bool parallel = points >= how.ParallelFrom && std::thread::hardware_concurrency() > 1;
    const bool widePen = grid.LineWidth() > 1;
    // Every trace has the one X mapping, so one set of thresholds serves all.
    // (A wide pen walks point by point.)
    const std::optional<ColumnThresholds> columns =
        someAxis != 0 && !widePen ? ThresholdsFor(TraceFrame(state, grid, someAxis), longest) : std::nullopt;

    std::atomic<std::int64_t> budget{static_cast<std::int64_t>(how.StrokeBudget)};
    std::vector<Part> parts;
    for (std::size_t t = 0; t < traces.size(); ++t) {
        const TraceToDraw& trace = traces[t];
        if (!TraceDrawable(state, trace.Slot, trace.Axis))
            continue;
        Mapper map = TraceMapper(state, grid, trace.Slot, trace.Axis);
        map.Columns = columns ? &*columns : nullptr;
        const std::size_t count = DrawablePoints(state.Traces[trace.Slot]);
        const std::size_t first = FirstValidPoint(map, 0, count);
        if (first == count)
            continue;
        // A long trace in two parts, which the two threads can walk at once.
        const std::size_t middle = parallel && count - first >= how.ParallelFrom / 4
            ? ColumnChangeAfter(map, first, first + (count - first) / 2, count, kCutSearch)
            : count;
        parts.push_back({t, map, first, middle, count, StrokeList(budget)});
        if (middle < count)
            parts.push_back({t, map, middle, count, count, StrokeList(budget)});
    }

    if (parallel && parts.size() > 1) {
        RunEachOnThreads(parts.size(), 2, [&](std::size_t k) {
            if (widePen)
                WalkIntoStrokes<true>(parts[k]);
            else
                WalkIntoStrokes<false>(parts[k]);
        });
    }

    std::size_t part = 0;
    for (std::size_t t = 0; t < traces.size(); ++t) {
        if (!TraceDrawable(state, traces[t].Slot, traces[t].Axis))
            continue;
        canvas.Pen.Color = traces[t].Color;
        canvas.Pen.Width = grid.LineWidth();
        canvas.Pen.Mode = pmCopy;
        for (; part < parts.size() && parts[part].Trace == t; ++part) {
            if (widePen)
                PaintPart<true>(parts[part], canvas);
            else
                PaintPart<false>(parts[part], canvas);
        }
    }
}
