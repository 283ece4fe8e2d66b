// SPDX-License-Identifier: MIT
// Finding samples of a trace by their X: the part of a trace that a range of
// X covers, the sample nearest to an X, and a trace's value at any X. A trace
// whose X never decreases (and has no NaN X) is searched by bisection; any
// other trace is walked from end to end, which is slower but equally right.
#pragma once

#include <cstddef>
#include <optional>

// True when every X is a number and none is smaller than the one before.
bool XNeverDecreases(const float* xs, std::size_t count);

// Indices [Begin, End) of a trace.
struct SampleRange {
    std::size_t Begin = 0;
    std::size_t End = 0;

    std::size_t Size() const { return End - Begin; }
    bool operator==(const SampleRange&) const = default;
};

// The samples whose X lies in [lo, hi], for an X that never decreases; the
// whole trace for any other X (its visible samples can be anywhere).
SampleRange SamplesWithin(const float* xs, std::size_t count, double lo, double hi, bool sorted);

// The same range with one more sample on each side where there is one: the
// lines from those into the range are drawn too.
SampleRange WithNeighbours(SampleRange range, std::size_t count);

// The sample whose X is nearest to x (NaN X never is); the earlier one on a
// tie. None for a trace without any X that is a number.
std::optional<std::size_t> NearestSample(const float* xs, std::size_t count, double x, bool sorted);

struct SampledValue {
    double Value = 0;
    // Between two samples rather than on one.
    bool Interpolated = false;
};

// The trace's Y at x: the Y of a sample at exactly x, else the straight line
// between the first pair of consecutive samples whose X enclose x. None when
// x lies outside the trace or a Y it needs is NaN.
std::optional<SampledValue> ValueAt(const float* xs, const float* ys, std::size_t count, double x, bool sorted);
