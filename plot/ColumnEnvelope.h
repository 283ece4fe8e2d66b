// SPDX-License-Identifier: MIT
// Traces of the large view in device pixels. A trace is mapped onto a plot
// area of any size and reduced column by column: within a run of consecutive
// points that land in one device column only the first, the lowest, the
// highest and the last point (in their order) are kept. Drawn as one line per
// pair of consecutive kept points, that gives the same pixels as one line per
// pair of consecutive input points, because a line that stays inside one
// column covers exactly the rows between its ends, and the lines of a run
// join end to end, so together they cover the rows from the run's lowest to
// its highest point whatever way they walk. Lines between columns are kept
// as they are.
#pragma once

#include "PlotState.h"
#include "TraceSampling.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

// Limits of the four axes of the large view (0 = X, 1..3 = Y1..Y3). Filled from
// the main window's settled limits by default; a zoom of the view's own
// replaces them.
struct ViewAxisLimits {
    double Lower = 0;
    double Upper = 1;
};

struct ViewLimits {
    std::array<ViewAxisLimits, kAxisCount> Axes{};

    static ViewLimits FromState(const PlotState& state);
};

// Limits that can be mapped: both finite and apart. Infinite or NaN limits
// become 0..1, equal limits are opened by one unit around their value (or by
// a part of it for large values), and an inverted pair stays inverted.
ViewAxisLimits UsableLimits(ViewAxisLimits limits);

// Value to device pixel along one axis of `pixels` pixels: the lower limit
// lands on pixel 0 and the upper limit on pixel pixels - 1 (for a Y axis
// pixel 0 is the top, so the caller passes Flip). Values far beyond the area
// are held a long way outside it, which keeps every coordinate an int without
// turning any line that crosses the area visibly.
struct PixelMap {
    double Lower;
    double Scale;   // pixels per unit
    double Last;    // pixels - 1
    bool Flip;

    PixelMap(ViewAxisLimits limits, int pixels, bool flip);

    // Device pixel position of a value, unrounded (for antialiased drawing).
    double Position(float value) const;
    // The same for a value of double precision (ticks, cursors): a limit
    // narrowed to a few float steps must not put them a pixel off.
    double PositionOf(double value) const;
    // The pixel a value lands in.
    std::int32_t Pixel(float value) const;
};

inline constexpr std::int32_t kFarOutside = 1 << 22;

struct EnvelopePoint {
    std::int32_t X;
    std::int32_t Y;
    bool operator==(const EnvelopePoint&) const = default;
};

// Every point whose X and Y are both numbers, mapped to its pixel, in order.
std::vector<EnvelopePoint> MapTracePoints(const float* xs, const float* ys, std::size_t count, const PixelMap& x,
                                          const PixelMap& y);

// The reduced point sequence described above. Points with a NaN coordinate are
// passed over. A run of two or more points that all land on one pixel keeps
// two copies of it, so that a line (a dot) is still drawn there.
std::vector<EnvelopePoint> ReduceTrace(const float* xs, const float* ys, std::size_t count, const PixelMap& x,
                                       const PixelMap& y);

// The lowest and highest value of every block of kBlock consecutive values
// (NaN passed over): the extremes of any stretch then cost a look at each
// whole block in it and at the values of the partial ones at its ends, not
// at every value.
class BlockExtremes {
public:
    static constexpr std::size_t kBlock = 64;

    BlockExtremes() = default;
    BlockExtremes(const float* values, std::size_t count);

    struct Extremes {
        float Low = HUGE_VALF;
        float High = -HUGE_VALF;
        bool Any() const { return Low <= High; }   // a value that is a number was there
    };
    // Over values [begin, end) of the array the blocks were made from.
    Extremes Over(const float* values, std::size_t begin, std::size_t end) const;

private:
    std::vector<float> m_low;    // +inf for a block without a number
    std::vector<float> m_high;   // -inf for a block without a number
};

// ReduceTrace for an X that never decreases and has no NaN, by columns: the
// points of a column are found by bisection and their extremes through the
// blocks of ys, so the cost follows the columns rather than the points. The
// same pixels as ReduceTrace, though a column's lowest and highest points
// may come in the other order (a column is drawn as one vertical line).
std::vector<EnvelopePoint> ReduceSortedTrace(const float* xs, const float* ys, std::size_t begin, std::size_t end,
                                             const PixelMap& x, const PixelMap& y, const BlockExtremes& blocks);

// Coarse record of which cells of the plot area a trace's lines pass through;
// the legend goes where it hides the fewest of them.
class CoverageGrid {
public:
    static constexpr int kCell = 8;   // device pixels per cell side

    CoverageGrid() = default;
    CoverageGrid(int width, int height);

    // Marks the cells along the lines between consecutive points.
    void AddPolyline(const std::vector<EnvelopePoint>& points);
    void Add(const CoverageGrid& other);

    // Marked cells that overlap the device rectangle [left, right) x [top, bottom).
    long CountIn(int left, int top, int right, int bottom) const;

    int Columns() const { return m_columns; }
    int Rows() const { return m_rows; }

private:
    void MarkPixel(std::int64_t x, std::int64_t y);

    int m_width = 0;
    int m_height = 0;
    int m_columns = 0;
    int m_rows = 0;
    std::vector<std::uint8_t> m_cells;
};

// What a trace needs to be drawn at one size: its reduced points, whether the
// reduction kept fewer points than it was given, and the cells it covers.
// Drawn is the part of the trace that was reduced: for an X that never
// decreases, the samples inside the X limits and one on each side (a zoom
// then costs what it shows, not the whole file); otherwise all of it.
// InputPoints is Drawn's size.
struct TraceEnvelope {
    std::vector<EnvelopePoint> Points;
    std::size_t InputPoints = 0;
    SampleRange Drawn;
    CoverageGrid Coverage;
};

// Identity of one trace drawing: the table and its contents as far as a cheap
// look tells (a reload may reuse the table's address), the axis, the limits
// and the device size of the plot area.
struct EnvelopeKey {
    const DataTable* Table = nullptr;
    std::size_t Points = 0;
    int Axis = 0;
    std::uint64_t Fingerprint = 0;
    double XLower = 0, XUpper = 0, YLower = 0, YUpper = 0;
    int Width = 0;
    int Height = 0;
    double Ratio = 1;

    bool operator==(const EnvelopeKey&) const = default;
};

struct EnvelopeKeyHash {
    std::size_t operator()(const EnvelopeKey& key) const;
};

// A sample of a slot's values and extremes; changes when a reload into the same
// table address brings other data.
std::uint64_t SlotFingerprint(const TraceSlot& slot);

EnvelopeKey MakeEnvelopeKey(const TraceSlot& slot, int axis, const ViewLimits& limits, int width, int height,
                            double ratio);

// Reductions computed once per load, limits and size. Each render marks what
// it used; entries not used by the last render are dropped at the start of the
// next one, so the cache holds at most one picture's worth.
class EnvelopeCache {
public:
    // The envelope of Y axis `axis` of the slot against its X row, computed on
    // first use.
    std::shared_ptr<const TraceEnvelope> Get(const TraceSlot& slot, int axis, const ViewLimits& limits, int width,
                                             int height, double ratio);

    // Starts a render: forgets what the previous render did not use.
    void BeginRender();

    // Whether the slot's X never decreases, looked at once per load.
    bool SortedX(const TraceSlot& slot);

    std::size_t Computations() const { return m_computations; }
    std::size_t Size() const { return m_entries.size(); }

private:
    struct OrderEntry {
        std::uint64_t Fingerprint = 0;
        std::size_t Points = 0;
        bool Sorted = false;
        std::array<std::shared_ptr<const BlockExtremes>, kAxisCount> Blocks;
    };
    OrderEntry& OrderOf(const TraceSlot& slot);
    std::unordered_map<const DataTable*, OrderEntry> m_order;
    struct Entry {
        std::shared_ptr<const TraceEnvelope> Envelope;
        bool Used = false;
    };
    std::unordered_map<EnvelopeKey, Entry, EnvelopeKeyHash> m_entries;
    std::size_t m_computations = 0;
};

// sortedX: the slot's X never decreases (XNeverDecreases); without it, the
// trace is looked at to find out.
std::shared_ptr<const TraceEnvelope> ComputeEnvelope(const TraceSlot& slot, int axis, const ViewLimits& limits,
                                                     int width, int height);
std::shared_ptr<const TraceEnvelope> ComputeEnvelope(const TraceSlot& slot, int axis, const ViewLimits& limits,
                                                     int width, int height, bool sortedX,
                                                     const BlockExtremes* blocks = nullptr);
