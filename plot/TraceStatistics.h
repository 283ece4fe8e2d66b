// SPDX-License-Identifier: MIT
// Statistics of a trace's Y over a range of X, for the large view's panel and
// the export command's --stats.
//
// Which points count: those whose X lies in the range (both ends included)
// and whose X and Y are numbers; a NaN on either side leaves the point out.
// Infinite Y values count as points and as extremes: Min or Max is then -inf
// or +inf, with its X, and the peak-to-peak value is +inf (0 when every point
// is the same infinity). Mean, RMS and the standard deviation are taken over
// the finite values alone, so one infinite sample does not wipe out what the
// others say; Infinite tells how many were left out of them. Without any finite value those three are NaN (not known).
// The standard deviation is the population one (divided by N): a single point
// has Min = Max = Mean = its value, RMS = |value| and a deviation of 0.
#pragma once

#include "PlotState.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

struct TraceStatistics {
    std::size_t Points = 0;     // counted points, infinite ones included
    std::size_t Infinite = 0;   // of which infinite
    double Min = 0;
    double Max = 0;
    double Mean = 0;
    double Rms = 0;
    double StdDev = 0;
    double PeakToPeak = 0;
    double XOfMin = 0;   // the first point that takes the minimum
    double XOfMax = 0;   // the first point that takes the maximum
};

// Over the points [first, last) of the arrays whose X lies in [lo, hi]. With
// no point counted, every value is NaN and Points is 0.
TraceStatistics ComputeStatistics(const float* xs, const float* ys, std::size_t first, std::size_t last, double lo,
                                  double hi);
// The same over every point of [first, last), for a range already known to
// lie within the limits (found by SamplesWithin in a sorted X).
TraceStatistics ComputeStatisticsOfRange(const float* xs, const float* ys, std::size_t first, std::size_t last);

// One shown trace (a displayed slot and a shown Y axis the file has).
struct ShownTrace {
    int Slot = 0;
    int Axis = 1;
    std::string Label;   // "file:column", as the data copy names it
};

// Column names of a slot's file; may be empty.
using TraceColumnNames = std::function<std::vector<std::string>(const TraceSlot&)>;

// The traces the large view draws, newest file first and Y1 before Y2 within
// a file.
std::vector<ShownTrace> ShownTraces(const PlotState& state, const TraceColumnNames& names);

struct TraceStatisticsRow {
    ShownTrace Trace;
    TraceStatistics Stats;
};

// Whether a slot's X never decreases, asked once per slot and load by whoever
// keeps the answer; null asks the data every time.
using XOrderQuery = std::function<bool(const TraceSlot&)>;

// Statistics of every shown trace over X in [lo, hi] (given in either order).
std::vector<TraceStatisticsRow> ShownTraceStatistics(const PlotState& state, double lo, double hi,
                                                     const TraceColumnNames& names, const XOrderQuery& sortedX = {});

// The table as tab-separated text with a header row and LF line ends.
// Numbers have nine significant digits, locale-free; infinities are "inf" and
// "-inf"; a value that is not known leaves its cell empty.
std::string StatisticsAsTsv(const std::vector<TraceStatisticsRow>& rows);

// One number as the table writes it.
std::string StatisticsNumber(double value);
