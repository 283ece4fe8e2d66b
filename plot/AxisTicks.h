// SPDX-License-Identifier: MIT
// Tick marks of the large view's axes: round values one, two or five times a
// power of ten apart, and their numbers in a plain form ("25.4", "0.001"),
// with an exponent only where the plain form would be too long ("1.5e+09").
#pragma once

#include <string>
#include <vector>

struct AxisTick {
    double Value;
    std::string Label;
};

// The smallest round step (1, 2 or 5 x 10^n) that divides `span` into at most
// `maxIntervals` intervals; 0 when the span is not a positive finite number.
double RoundTickStep(double span, int maxIntervals);

// Ticks at the multiples of the round step that lie between the two limits,
// given in either order. Equal limits give one tick at their value; limits that
// are not finite give none. Never more than a few hundred ticks.
std::vector<AxisTick> ComputeAxisTicks(double a, double b, int maxIntervals);

// A tick's number: fixed-point with as many decimals as the step needs, or the
// exponent form for very large or very small values. Zero is "0".
std::string FormatTickValue(double value, double step, double largestMagnitude);
