// SPDX-License-Identifier: MIT
#include "AxisRanges.h"

#include "Conversions.h"

#include <algorithm>
#include <array>

namespace {

bool AxisIsAuto(const PlotState& state, int axis)
{
    return state.Controls == nullptr || state.Controls->AxisAuto(axis);
}

int CountLoadedSlots(const PlotState& state)
{
    return static_cast<int>(
        std::count_if(state.Traces.begin(), state.Traces.end(), [](const TraceSlot& slot) { return slot.Loaded(); }));
}

void TakeAutomaticLimits(PlotState& state, int displayed)
{
    for (int axis = 0; axis < kAxisCount; ++axis) {
        if (!AxisIsAuto(state, axis))
            continue;
        float upper = kNoMaximum;
        float lower = kNoMinimum;
        for (int s = 0; s < displayed; ++s) {
            const TraceSlot& slot = state.Traces[s];
            if (!slot.Loaded())
                continue;
            // Same rule as FindMax/FindMin over the slots: strictly beyond, so
            // an absent column's sentinels change nothing.
            if (slot.Max[axis] > upper)
                upper = slot.Max[axis];
            if (slot.Min[axis] < lower)
                lower = slot.Min[axis];
        }
        state.Axes[axis].Upper = upper;
        state.Axes[axis].Lower = lower;
    }
}

void LinkYs(PlotState& state, int numYs)
{
    std::array<float, 3> uppers{};
    std::array<float, 3> lowers{};
    for (int k = 1; k <= numYs; ++k) {
        uppers[k - 1] = state.Axes[k].Upper;
        lowers[k - 1] = state.Axes[k].Lower;
    }
    const float upper = FindMax(uppers.data(), numYs);
    const float lower = FindMin(lowers.data(), numYs);
    for (int k = 1; k <= 3; ++k) {
        state.Axes[k].Upper = upper;
        state.Axes[k].Lower = lower;
    }
}

// An axis whose limits coincide cannot be mapped; it is opened around the
// newest file's extremes, and to -1..+1 when those coincide too.
void WidenZeroWidthRanges(PlotState& state, int numYs)
{
    const TraceSlot& newest = state.Traces[0];
    for (int axis = 0; axis <= numYs; ++axis) {
        AxisState& a = state.Axes[axis];
        if (a.Upper != a.Lower)
            continue;
        a.Upper = NarrowToFloat(double(newest.Max[axis]) * 1.1);
        a.Lower = NarrowToFloat(double(newest.Min[axis]) * 0.9);
        if (a.Upper == a.Lower) {
            a.Upper = 1;
            a.Lower = -1;
        }
    }
}

}   // namespace

float FindMax(const float* values, int count)
{
    float result = kNoMaximum;
    for (int i = 0; i < count; ++i)
        if (values[i] > result)
            result = values[i];
    return result;
}

float FindMin(const float* values, int count)
{
    float result = kNoMinimum;
    for (int i = 0; i < count; ++i)
        if (values[i] < result)
            result = values[i];
    return result;
}

int ShownYs(const PlotState& state)
{
    return std::clamp(state.NumYs(), 0, 3);
}

void SettleAxisRanges(PlotState& state)
{
    const int displayed = std::clamp(std::min(CountLoadedSlots(state), state.TracesShown), 0, kHistorySlots);
    state.DisplayedTraces = displayed;
    TakeAutomaticLimits(state, displayed);

    const int numYs = ShownYs(state);
    // With no Y selected there is nothing to link; linking over no axes would
    // wipe every Y limit with the empty-range sentinels.
    if (numYs > 0 && state.Controls && state.Controls->LinkageYs())
        LinkYs(state, numYs);
    WidenZeroWidthRanges(state, numYs);
}

int ValueToPixelX(const PlotState& state, float value)
{
    const AxisState& x = state.Axes[0];
    return PlotRect.Left + AxisScale(x.Lower, x.Upper, PlotRect.Width).Offset(value);
}

int ValueToPixelY(const PlotState& state, int axis, float value)
{
    const AxisState& y = state.Axes.at(axis);
    return PlotRect.Top + PlotRect.Height - AxisScale(y.Lower, y.Upper, PlotRect.Height).Offset(value);
}

float PixelToValueX(const PlotState& state, int x)
{
    const AxisState& a = state.Axes[0];
    const double fraction = (double(x) - PlotRect.Left) / PlotRect.Width;
    return NarrowToFloat(a.Lower + fraction * (double(a.Upper) - double(a.Lower)));
}

float PixelToValueY(const PlotState& state, int axis, int y)
{
    const AxisState& a = state.Axes.at(axis);
    const double fraction = (double(PlotRect.Top + PlotRect.Height) - y) / PlotRect.Height;
    return NarrowToFloat(a.Lower + fraction * (double(a.Upper) - double(a.Lower)));
}

AxisSpan ApplyTypedLimit(PlotState& state, LimitTarget target, float value)
{
    if (target.Axis < 0 || target.Axis >= kAxisCount)
        return {};
    const bool linked = target.Axis > 0 && state.Controls && state.Controls->LinkageYs();
    const AxisSpan set = linked ? AxisSpan{1, 3} : AxisSpan{target.Axis, target.Axis};
    for (int axis = set.First; axis <= set.Last; ++axis) {
        AxisState& a = state.Axes[static_cast<std::size_t>(axis)];
        (target.Upper ? a.Upper : a.Lower) = value;
    }
    return set;
}

AxisSpan ApplyLimitText(PlotState& state, LimitTarget target, const std::string& text)
{
    const float value = StrToFloat(text);   // throws before anything changes
    return ApplyTypedLimit(state, target, value);
}

std::optional<YsLayout> YsLayoutOfItem(int item)
{
    switch (item) {
    case 0: return YsLayout{false, false, false};
    case 1: return YsLayout{true, false, true};
    case 2: return YsLayout{true, true, true};
    default: return std::nullopt;
    }
}
