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
#include "GraphPainter.h"

#include "AxisRanges.h"

#include <algorithm>
#include <cmath>

#ifdef __SSE2__
#include <immintrin.h>
#endif

namespace {

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

    static bool Missing(float v) { return std::isnan(v); }
    bool Valid(std::size_t i) const { return !Missing(Xs[i]) && !Missing(Ys[i]); }
    int PixelX(std::size_t i) const { return Left + X.Offset(Xs[i]); }
    int PixelY(std::size_t i) const { return Bottom - Y.Offset(Ys[i]); }
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

constexpr std::size_t kBlock = 256;
constexpr int kMissing = -1;   // a mapped x is never negative: the frame's left edge is not

// Pixels of points base..base+size-1; a point with a NaN coordinate gets x = kMissing.
void MapBlockScalar(const Mapper& map, std::size_t base, std::size_t size, int* xs, int* ys)
{
    for (std::size_t j = 0; j < size; ++j) {
        const float xv = map.Xs[base + j];
        const float yv = map.Ys[base + j];
        const int x = map.Left + map.X.Offset(xv);
        ys[j] = map.Bottom - map.Y.Offset(yv);
        xs[j] = (Mapper::Missing(xv) || Mapper::Missing(yv)) ? kMissing : x;
    }
}

#ifdef __SSE2__
// AxisScale::Offset for four values, two doubles at a time: the same IEEE
// operations in the same order, so the pixels are the same.
__m128i OffsetsOf(const AxisScale& scale, __m128 values)
{
    const __m128d lower = _mm_set1_pd(scale.Lower);
    const __m128d span = _mm_set1_pd(scale.Span);
    const __m128d size = _mm_set1_pd(scale.Size);
    const __m128d zero = _mm_setzero_pd();
    auto half = [&](__m128d v) {
        __m128d t = _mm_mul_pd(_mm_div_pd(_mm_sub_pd(v, lower), span), size);
        t = _mm_and_pd(_mm_cmpgt_pd(t, zero), t);   // t > 0 ? t : 0, NaN too
        t = _mm_min_pd(t, size);                    // t < size ? t : size
        return _mm_cvttpd_epi32(t);
    };
    const __m128i low = half(_mm_cvtps_pd(values));
    const __m128i high = half(_mm_cvtps_pd(_mm_movehl_ps(values, values)));
    return _mm_unpacklo_epi64(low, high);
}

// The same with four doubles at a time where the processor has AVX: the
// divisions are most of a trace's cost, and AVX does twice as many at once.
__attribute__((target("avx"))) inline __m128i OffsetsOfWide(const AxisScale& scale, __m128 values)
{
    const __m256d v = _mm256_cvtps_pd(values);
    __m256d t = _mm256_mul_pd(_mm256_div_pd(_mm256_sub_pd(v, _mm256_set1_pd(scale.Lower)), _mm256_set1_pd(scale.Span)),
                              _mm256_set1_pd(scale.Size));
    t = _mm256_and_pd(_mm256_cmp_pd(t, _mm256_setzero_pd(), _CMP_GT_OQ), t);   // t > 0 ? t : 0, NaN too
    t = _mm256_min_pd(t, _mm256_set1_pd(scale.Size));                          // t < size ? t : size
    return _mm256_cvttpd_epi32(t);
}

// The points four at a time with either way of mapping them; inlined into
// each road so that the AVX one is compiled for AVX throughout.
template <__m128i (*Offsets)(const AxisScale&, __m128)>
[[gnu::always_inline]] inline void MapBlockWith(const Mapper& map, std::size_t base, std::size_t size, int* xs, int* ys)
{
    const __m128i left = _mm_set1_epi32(map.Left);
    const __m128i bottom = _mm_set1_epi32(map.Bottom);
    std::size_t j = 0;
    for (; j + 4 <= size; j += 4) {
        const __m128 xv = _mm_loadu_ps(map.Xs + base + j);
        const __m128 yv = _mm_loadu_ps(map.Ys + base + j);
        const __m128i missing = _mm_castps_si128(_mm_or_ps(_mm_cmpunord_ps(xv, xv), _mm_cmpunord_ps(yv, yv)));
        const __m128i x = _mm_add_epi32(left, Offsets(map.X, xv));
        const __m128i y = _mm_sub_epi32(bottom, Offsets(map.Y, yv));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(xs + j), _mm_or_si128(x, missing));   // kMissing is all ones
        _mm_storeu_si128(reinterpret_cast<__m128i*>(ys + j), y);
    }
    MapBlockScalar(map, base + j, size - j, xs + j, ys + j);
}

__attribute__((target("avx"))) void MapBlockWide(const Mapper& map, std::size_t base, std::size_t size, int* xs,
                                                 int* ys)
{
    MapBlockWith<OffsetsOfWide>(map, base, size, xs, ys);
}

bool g_wideAllowed = true;

void MapBlock(const Mapper& map, std::size_t base, std::size_t size, int* xs, int* ys)
{
    static const bool wide = __builtin_cpu_supports("avx");
    if (wide && g_wideAllowed)
        MapBlockWide(map, base, size, xs, ys);
    else
        MapBlockWith<OffsetsOf>(map, base, size, xs, ys);
}
#else
void MapBlock(const Mapper& map, std::size_t base, std::size_t size, int* xs, int* ys)
{
    MapBlockScalar(map, base, size, xs, ys);
}
#endif

// The runs of points first..count-1 (the first valid), column by column.
template <bool WidePen> void WalkRuns(const Mapper& map, RasterCanvas& canvas, std::size_t first, std::size_t count)
{
    std::size_t runStart = first;
    int column = map.PixelX(first);
    int lastY = map.PixelY(first);
    int low = lastY;
    int high = lastY;
    bool lastCovered = false;   // kept for a wide pen only
    auto paintRun = [&](bool whole) {
        if (whole) {
            canvas.PaintColumn(column, low, high);
            return;
        }
        if (low < lastY)
            canvas.PaintColumn(column, low, lastY - 1);
        if (lastY < high)
            canvas.PaintColumn(column, lastY + 1, high);
    };
    // Points are mapped a block at a time, apart from the run bookkeeping, so
    // that the mapping loop carries no hard-to-predict branch.
    int xs[kBlock];
    int ys[kBlock];
    for (std::size_t base = first + 1; base < count; base += kBlock) {
        const std::size_t size = std::min(kBlock, count - base);
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
            if (low != high)
                paintRun(!WidePen || lastCovered);
            canvas.MoveTo(column, lastY);
            canvas.LineTo(x, y);
            runStart = base + j;
            column = x;
            lastY = low = high = y;
            lastCovered = false;
        }
    }

    paintRun(LastRowCovered(map, runStart, count, lastY));
    canvas.MoveTo(column, lastY);
}

}   // namespace

void AllowWideTraceMapping([[maybe_unused]] bool allowed)
{
#ifdef __SSE2__
    g_wideAllowed = allowed;
#endif
}

DevicePoint TracePoint(const PlotState& state, const DeviceGrid& grid, int axis, float x, float y)
{
    const TraceFrame frame(state, grid, axis);
    return {frame.Left + frame.X.Offset(x), frame.Bottom - frame.Y.Offset(y)};
}

std::size_t DrawablePoints(const TraceSlot& slot)
{
    if (!slot.Loaded())
        return 0;
    return std::min(slot.Points, slot.Table->Points());
}

void DrawTrace(const PlotState& state, RasterCanvas& canvas, int slotIndex, int axis)
{
    if (slotIndex < 0 || slotIndex >= kHistorySlots || axis < 1 || axis > 3)
        return;
    const TraceSlot& slot = state.Traces[slotIndex];
    if (!slot.Loaded() || slot.Table->Rows() <= axis)
        return;
    const std::size_t count = DrawablePoints(slot);
    const DeviceGrid grid = canvas.Grid();
    const Mapper map{TraceFrame(state, grid, axis), (*slot.Table)[0], (*slot.Table)[axis]};

    canvas.Pen.Width = grid.LineWidth();
    canvas.Pen.Mode = pmCopy;

    std::size_t i = 0;
    while (i < count && !map.Valid(i))
        ++i;
    if (i == count)
        return;

    if (canvas.Pen.Width == 1)
        WalkRuns<false>(map, canvas, i, count);
    else
        WalkRuns<true>(map, canvas, i, count);
}
