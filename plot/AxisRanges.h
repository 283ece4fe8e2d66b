// SPDX-License-Identifier: MIT
// Axis limits settled at the start of every paint, and the only mappings
// between data values and pixels of PlotRect.
#pragma once

#include "PlotState.h"

#include <optional>
#include <string_view>

float FindMax(const float* values, int count);   // from -1e37, strictly greater
float FindMin(const float* values, int count);   // from +1e37, strictly smaller

// Sets DisplayedTraces and the Upper/Lower of every axis, in four steps:
// automatic limits, linked Ys, zero-width ranges.
void SettleAxisRanges(PlotState& state);

// Client x of an X value; client y of a value of Y axis 1..3. Values beyond the
// limits (infinite and NaN included) land on the frame.
int ValueToPixelX(const PlotState& state, float value);
int ValueToPixelY(const PlotState& state, int axis, float value);

float PixelToValueX(const PlotState& state, int x);
float PixelToValueY(const PlotState& state, int axis, int y);

// Which limit a limit edit stands for, from its name ("X0_upper", "Y2_lower", ...).
struct LimitTarget {
    int Axis;
    bool Upper;
};
std::optional<LimitTarget> LimitTargetOfEdit(std::string_view editName);

// A typed limit: linked Ys take it on all three Y axes, otherwise the named
// axis alone; each axis set has its Auto box cleared.
void ApplyTypedLimit(PlotState& state, LimitTarget target, float value);
