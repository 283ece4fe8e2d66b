// SPDX-License-Identifier: MIT
// Dense traces are drawn column by column. Within one pixel column the
// segments between consecutive points are vertical, and LineTo leaves out each
// end pixel, so the segments of a run of points p(a)..p(b) in column c cover
// every row between the run's minimum and maximum, except perhaps the last
// point's row when the walk only ever arrives there. When another point
// follows, the segment leaving the run starts at the last point and covers that
// row anyway, so the whole column span can be painted at once and only the
// segments between columns are walked. The final run of a trace has no segment
// after it; for it the last row is checked against the run's steps.
#include "GraphPainter.h"

#include "AxisRanges.h"

#include <algorithm>
#include <cmath>

namespace {

struct Mapper {
    AxisScale X;
    AxisScale Y;
    const float* Xs;
    const float* Ys;

    static bool Missing(float v) { return std::isnan(v); }
    bool Valid(std::size_t i) const { return !Missing(Xs[i]) && !Missing(Ys[i]); }
    int PixelX(std::size_t i) const { return PlotRect.Left + X.Offset(Xs[i]); }
    int PixelY(std::size_t i) const { return PlotRect.Top + PlotRect.Height - Y.Offset(Ys[i]); }
};

// Whether the steps of the run from index start to the end arrive at row
// lastY without ever covering it (each step covers its start row up to, not
// including, its end row).
bool LastRowCovered(const Mapper& map, std::size_t start, std::size_t end, int lastY)
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

} // namespace

std::size_t DrawablePoints(const TraceSlot& slot)
{
    if (!slot.Loaded() || !(slot.Points > 0))
        return 0;
    const double points = std::floor(double(slot.Points));
    const std::size_t held = slot.Table->Points();
    return points >= double(held) ? held : static_cast<std::size_t>(points);
}

void DrawTrace(const PlotState& state, RasterCanvas& canvas, int slotIndex, int axis)
{
    if (slotIndex < 0 || slotIndex >= kHistorySlots || axis < 1 || axis > 3)
        return;
    const TraceSlot& slot = state.Traces[slotIndex];
    if (!slot.Loaded() || slot.Table->Rows() <= axis)
        return;
    const std::size_t count = DrawablePoints(slot);
    const AxisState& ax = state.Axes[0];
    const AxisState& ay = state.Axes[axis];
    const Mapper map{AxisScale(ax.Lower, ax.Upper, PlotRect.Width), AxisScale(ay.Lower, ay.Upper, PlotRect.Height),
                     (*slot.Table)[0], (*slot.Table)[axis]};

    canvas.Pen.Width = 1;
    canvas.Pen.Mode = pmCopy;

    std::size_t i = 0;
    while (i < count && !map.Valid(i))
        ++i;
    if (i == count)
        return;

    std::size_t runStart = i;
    int column = map.PixelX(i);
    int lastY = map.PixelY(i);
    int low = lastY;
    int high = lastY;
    for (++i; i < count; ++i) {
        const float xv = map.Xs[i];
        const float yv = map.Ys[i];
        if (Mapper::Missing(xv) || Mapper::Missing(yv))
            continue;
        const int x = PlotRect.Left + map.X.Offset(xv);
        const int y = PlotRect.Top + PlotRect.Height - map.Y.Offset(yv);
        if (x == column) {
            low = std::min(low, y);
            high = std::max(high, y);
            lastY = y;
            continue;
        }
        if (low != high)
            canvas.PaintColumn(column, low, high);
        canvas.MoveTo(column, lastY);
        canvas.LineTo(x, y);
        runStart = i;
        column = x;
        lastY = low = high = y;
    }

    if (LastRowCovered(map, runStart, count, lastY)) {
        canvas.PaintColumn(column, low, high);
    } else {
        if (low < lastY)
            canvas.PaintColumn(column, low, lastY - 1);
        if (lastY < high)
            canvas.PaintColumn(column, lastY + 1, high);
    }
    canvas.MoveTo(column, lastY);
}
