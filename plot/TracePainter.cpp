// SPDX-License-Identifier: MIT
// Maps the points of a trace to pixels and walks them (TraceWalk.h).
#include "GraphPainter.h"
#include "TraceWalk.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

#ifdef __SSE2__
#include <immintrin.h>
#endif

namespace {

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

// The lowest and the highest of four values, none of them NaN.
float LowestLane(__m128 v)
{
    v = _mm_min_ps(v, _mm_movehl_ps(v, v));
    return _mm_cvtss_f32(_mm_min_ss(v, _mm_shuffle_ps(v, v, 1)));
}

float HighestLane(__m128 v)
{
    v = _mm_max_ps(v, _mm_movehl_ps(v, v));
    return _mm_cvtss_f32(_mm_max_ss(v, _mm_shuffle_ps(v, v, 1)));
}

template <__m128i (*Offsets)(const AxisScale&, __m128)>
[[gnu::always_inline]] inline void RowsOfFourWith(const Mapper& map, __m128 values, int* rows)
{
    const __m128i offsets = Offsets(map.Y, values);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(rows), _mm_sub_epi32(_mm_set1_epi32(map.Bottom), offsets));
}

__attribute__((target("avx"))) void RowsOfFourWide(const Mapper& map, __m128 values, int* rows)
{
    RowsOfFourWith<OffsetsOfWide>(map, values, rows);
}

const bool kHasAvx = __builtin_cpu_supports("avx");
bool g_wideAllowed = true;
#endif

}   // namespace

#ifdef __SSE2__
void MapBlock(const Mapper& map, std::size_t base, std::size_t size, int* xs, int* ys)
{
    if (kHasAvx && g_wideAllowed)
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

bool BlockExtremesOf(const Mapper& map, std::size_t base, BlockExtremes& extremes)
{
    const float* xs = map.Xs + base;
    const float* ys = map.Ys + base;
#ifdef __SSE2__
    static_assert(kWalkBlock % 4 == 0);
    __m128 minX = _mm_loadu_ps(xs);
    __m128 maxX = minX;
    __m128 minY = _mm_loadu_ps(ys);
    __m128 maxY = minY;
    __m128 missing = _mm_or_ps(_mm_cmpunord_ps(minX, minX), _mm_cmpunord_ps(minY, minY));
    for (std::size_t j = 4; j < kWalkBlock; j += 4) {
        const __m128 x = _mm_loadu_ps(xs + j);
        const __m128 y = _mm_loadu_ps(ys + j);
        missing = _mm_or_ps(missing, _mm_or_ps(_mm_cmpunord_ps(x, x), _mm_cmpunord_ps(y, y)));
        minX = _mm_min_ps(minX, x);
        maxX = _mm_max_ps(maxX, x);
        minY = _mm_min_ps(minY, y);
        maxY = _mm_max_ps(maxY, y);
    }
    if (_mm_movemask_ps(missing) != 0)
        return false;
    extremes = {LowestLane(minX), HighestLane(maxX), LowestLane(minY), HighestLane(maxY)};
    return true;
#else
    extremes = {xs[0], xs[0], ys[0], ys[0]};
    for (std::size_t j = 0; j < kWalkBlock; ++j) {
        if (Mapper::Missing(xs[j]) || Mapper::Missing(ys[j]))
            return false;
        extremes = {std::min(extremes.MinX, xs[j]), std::max(extremes.MaxX, xs[j]), std::min(extremes.MinY, ys[j]),
                    std::max(extremes.MaxY, ys[j])};
    }
    return true;
#endif
}

void RowsOfFour(const Mapper& map, float a, float b, float c, float d, int* rows)
{
#ifdef __SSE2__
    // Put together in registers: four stores read back as one load would
    // wait for the stores to reach the cache.
    const __m128 values = _mm_setr_ps(a, b, c, d);
    if (kHasAvx && g_wideAllowed)
        RowsOfFourWide(map, values, rows);
    else
        RowsOfFourWith<OffsetsOf>(map, values, rows);
#else
    const float values[] = {a, b, c, d};
    for (int k = 0; k < 4; ++k)
        rows[k] = map.Bottom - map.Y.Offset(values[k]);
#endif
}

bool BlockSortedAndWhole(const Mapper& map, std::size_t base, std::size_t size)
{
    const float* xs = map.Xs + base;
    const float* ys = map.Ys + base;
    std::size_t j = 0;
#ifdef __SSE2__
    // Each X against the one after it: an unordered pair (a NaN) fails too.
    // An X that goes back and forth fails within a few points.
    for (; j + 5 <= size; j += 4) {
        const __m128 x = _mm_loadu_ps(xs + j);
        const __m128 y = _mm_loadu_ps(ys + j);
        if (_mm_movemask_ps(_mm_and_ps(_mm_cmple_ps(x, _mm_loadu_ps(xs + j + 1)), _mm_cmpord_ps(y, y))) != 0xF)
            return false;
    }
#endif
    for (; j < size; ++j) {
        if (std::isnan(ys[j]) || std::isnan(xs[j]))
            return false;
        if (j + 1 < size && !(xs[j] <= xs[j + 1]))
            return false;
    }
    return true;
}

RunBelow PointsBelow(const Mapper& map, std::size_t from, std::size_t end, float threshold)
{
    constexpr float kInfinity = std::numeric_limits<float>::infinity();
    std::size_t j = from;
    float lowest = kInfinity;
    float highest = -kInfinity;
#ifdef __SSE2__
    if (end - from >= 4) {
        const __m128 limit = _mm_set1_ps(threshold);
        const __m128 up = _mm_set1_ps(kInfinity);
        const __m128 down = _mm_set1_ps(-kInfinity);
        __m128 lows = up;
        __m128 highs = down;
        for (; j + 4 <= end; j += 4) {
            const __m128 above = _mm_cmpge_ps(_mm_loadu_ps(map.Xs + j), limit);
            const __m128 y = _mm_loadu_ps(map.Ys + j);
            const int mask = _mm_movemask_ps(above);
            if (mask == 0) {
                lows = _mm_min_ps(lows, y);
                highs = _mm_max_ps(highs, y);
                continue;
            }
            // The X are sorted: the lanes before the first above are the run's.
            lows = _mm_min_ps(lows, _mm_or_ps(_mm_and_ps(above, up), _mm_andnot_ps(above, y)));
            highs = _mm_max_ps(highs, _mm_or_ps(_mm_and_ps(above, down), _mm_andnot_ps(above, y)));
            end = j + static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(mask)));
            j = end;
            break;
        }
        lowest = LowestLane(lows);
        highest = HighestLane(highs);
    }
#endif
    for (; j < end && !(map.Xs[j] >= threshold); ++j) {
        lowest = std::min(lowest, map.Ys[j]);
        highest = std::max(highest, map.Ys[j]);
    }
    return {j, lowest, highest};
}

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

bool TraceDrawable(const PlotState& state, int slotIndex, int axis)
{
    if (slotIndex < 0 || slotIndex >= kHistorySlots || axis < 1 || axis > 3)
        return false;
    const TraceSlot& slot = state.Traces[slotIndex];
    return slot.Loaded() && slot.Table->Rows() > axis;
}

Mapper TraceMapper(const PlotState& state, const DeviceGrid& grid, int slotIndex, int axis)
{
    const DataTable& table = *state.Traces[slotIndex].Table;
    return {TraceFrame(state, grid, axis), table[0], table[axis], nullptr};
}

std::optional<ColumnThresholds> ThresholdsFor(const TraceFrame& frame, std::size_t points)
{
    // Finding a threshold maps a handful of values; a column walked by
    // threshold saves mapping each of its points.
    constexpr double kPointsPerColumn = 8;
    if (!(double(points) >= kPointsPerColumn * (frame.X.Size + 1)))
        return std::nullopt;
    ColumnThresholds columns(frame.X, frame.Left);
    if (!columns.Usable())
        return std::nullopt;
    return columns;
}

void DrawTrace(const PlotState& state, RasterCanvas& canvas, int slotIndex, int axis)
{
    if (!TraceDrawable(state, slotIndex, axis))
        return;
    const std::size_t count = DrawablePoints(state.Traces[slotIndex]);
    const DeviceGrid grid = canvas.Grid();
    Mapper map = TraceMapper(state, grid, slotIndex, axis);
    const std::optional<ColumnThresholds> columns =
        grid.LineWidth() == 1 ? ThresholdsFor(map, count) : std::nullopt;   // a wide pen walks point by point
    map.Columns = columns ? &*columns : nullptr;

    canvas.Pen.Width = grid.LineWidth();
    canvas.Pen.Mode = pmCopy;

    const std::size_t first = FirstValidPoint(map, 0, count);
    if (first == count)
        return;
    if (canvas.Pen.Width == 1)
        WalkRuns<false>(map, canvas, first, count, count);
    else
        WalkRuns<true>(map, canvas, first, count, count);
}
