// SPDX-License-Identifier: MIT
// Axis limits settled at the start of every paint, and the only mappings
// between data values and pixels of PlotRect.
#pragma once

#include "PlotState.h"

#include <cmath>
#include <optional>
#include <string>
#include <string_view>

float FindMax(const float* values, int count);   // from -1e37, strictly greater
float FindMin(const float* values, int count);   // from +1e37, strictly smaller

// Sets DisplayedTraces and the Upper/Lower of every axis, in four steps:
// automatic limits, linked Ys, zero-width ranges.
void SettleAxisRanges(PlotState& state);

// Number of Ys drawn this paint: the Ys selection plus one, 0 when no item is
// selected (then no Y trace, label or range correction happens).
int ShownYs(const PlotState& state);

// One axis's value-to-pixel mapping: trunc((v - lower) / (upper - lower) * size)
// in double precision, the real quotient clamped to 0..size first. Whatever the
// value or the limits (infinite, NaN, equal), the result lies in 0..size; a NaN
// quotient gives 0.
struct AxisScale {
    double Lower;
    double Span;
    double Size;

    AxisScale(float lower, float upper, int size) : Lower(lower), Span(double(upper) - double(lower)), Size(size) { }

    int Offset(float value) const
    {
        double t = (double(value) - Lower) / Span * Size;
        t = t > 0 ? t : 0;         // below the lower edge, or NaN
        t = t < Size ? t : Size;   // beyond the upper edge
        return static_cast<int>(t);
    }
};

// Client x of an X value; client y of a value of Y axis 1..3. Values beyond the
// limits (infinite and NaN included) land on the frame.
int ValueToPixelX(const PlotState& state, float value);
int ValueToPixelY(const PlotState& state, int axis, float value);

float PixelToValueX(const PlotState& state, int x);
float PixelToValueY(const PlotState& state, int axis, int y);

// Which limit a limit edit stands for.
struct LimitTarget {
    int Axis;
    bool Upper;
};
// Axes First..Last (none when Last < First).
struct AxisSpan {
    int First = 0;
    int Last = -1;
};

// A typed limit: linked Ys take it on all three Y axes, otherwise the named
// axis alone. An X limit always goes to the X axis, Link or not: Link only
// ties the Ys together. Returns the axes set, whose Auto boxes the window
// clears; an axis number out of range sets nothing.
AxisSpan ApplyTypedLimit(PlotState& state, LimitTarget target, float value);

// Enter in a limit edit: converts the text (StrToFloat) and applies it. A text
// that is not a number raises EConvertError before anything changes.
AxisSpan ApplyLimitText(PlotState& state, LimitTarget target, const std::string& text);

// What the Ys selection shows: the Y2 and Y3 control groups and the Link box.
struct YsLayout {
    bool ShowY2;
    bool ShowY3;
    bool ShowLink;
};
// Items 0..2 of RadioGroup1; any other item changes nothing (no layout).
std::optional<YsLayout> YsLayoutOfItem(int item);

// 32-bit value of a double, infinite when it lies beyond the float range
// (a plain conversion would be undefined there).
inline float NarrowToFloat(double value)
{
    constexpr double kFloatMax = 3.4028234663852886e38;
    if (value > kFloatMax)
        return HUGE_VALF;
    if (value < -kFloatMax)
        return -HUGE_VALF;
    return static_cast<float>(value);
}
