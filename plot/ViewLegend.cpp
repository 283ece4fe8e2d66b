// SPDX-License-Identifier: MIT
#include "ViewLegend.h"

#include "AxisRanges.h"
#include "ColumnNames.h"
#include "FileNameParts.h"
#include "GraphPainter.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace {

int DisplayedSlots(const PlotState& state)
{
    return std::clamp(state.DisplayedTraces, 0, kHistorySlots);
}

struct ShownColumn {
    const TraceSlot* Slot;
    int Row;
};

}   // namespace

std::vector<LegendRow> LegendRows(const PlotState& state)
{
    const int numYs = ShownYs(state);
    std::vector<LegendRow> rows;
    for (int s = 0; s < DisplayedSlots(state); ++s) {
        const TraceSlot& slot = state.Traces[s];
        LegendRow row{s, ExtractFileName(slot.Name), {}};
        for (int k = 1; k <= numYs; ++k)
            row.Swatches.push_back(
                {k, state.Colors[TraceColorIndex(numYs, s, k)], slot.Loaded() && slot.Present[k] != 0});
        rows.push_back(std::move(row));
    }
    return rows;
}

LegendCorner ChooseLegendCorner(const CoverageGrid& coverage, int plotWidth, int plotHeight, int legendWidth,
                                int legendHeight, int margin)
{
    const int left = margin;
    const int right = std::max(margin, plotWidth - margin - legendWidth);
    const int top = margin;
    const int bottom = std::max(margin, plotHeight - margin - legendHeight);
    const std::array<std::pair<LegendCorner, std::pair<int, int>>, 4> corners{{
        {LegendCorner::TopRight, {right, top}},
        {LegendCorner::TopLeft, {left, top}},
        {LegendCorner::BottomRight, {right, bottom}},
        {LegendCorner::BottomLeft, {left, bottom}},
    }};
    LegendCorner best = LegendCorner::TopRight;
    long fewest = -1;
    for (const auto& [corner, at] : corners) {
        const long covered = coverage.CountIn(at.first, at.second, at.first + legendWidth, at.second + legendHeight);
        if (fewest < 0 || covered < fewest) {
            fewest = covered;
            best = corner;
        }
    }
    return best;
}

namespace {

// The columns ShownDataAsTsv writes, in order, and its number of data rows.
struct ShownData {
    std::vector<ShownColumn> Columns;
    std::size_t Rows = 0;
};

ShownData ShownDataOf(const PlotState& state)
{
    const int numYs = ShownYs(state);
    ShownData shown;
    for (int s = 0; s < DisplayedSlots(state); ++s) {
        const TraceSlot& slot = state.Traces[s];
        if (!slot.Loaded())
            continue;
        for (int axis = 0; axis <= numYs; ++axis) {
            if (axis > 0 && !slot.Present[axis])
                continue;
            if (slot.Table->Rows() <= axis)
                continue;
            shown.Columns.push_back({&slot, axis});
        }
        shown.Rows = std::max(shown.Rows, DrawablePoints(slot));
    }
    return shown;
}

}   // namespace

std::size_t ShownDataCells(const PlotState& state)
{
    const ShownData shown = ShownDataOf(state);
    return shown.Rows * shown.Columns.size();
}

std::string ShownDataAsTsv(const PlotState& state, const SlotNames& names)
{
    const ShownData shown = ShownDataOf(state);
    const std::vector<ShownColumn>& columns = shown.Columns;
    const std::size_t rows = shown.Rows;
    if (columns.empty())
        return {};
    std::string text;
    const TraceSlot* namedSlot = nullptr;
    std::vector<std::string> slotNames;
    for (const ShownColumn& column : columns) {
        if (column.Slot != namedSlot) {
            namedSlot = column.Slot;
            slotNames = names ? names(*column.Slot) : std::vector<std::string>{};
        }
        if (!text.empty())
            text += '\t';
        text += ExtractFileName(column.Slot->Name) + ':' + AxisTitle(slotNames, state.ColumnMap[column.Row]);
    }
    text += '\n';
    char cell[32];
    text.reserve(text.size() + rows * columns.size() * 10);
    for (std::size_t i = 0; i < rows; ++i) {
        for (std::size_t c = 0; c < columns.size(); ++c) {
            if (c > 0)
                text += '\t';
            const ShownColumn& column = columns[c];
            if (i >= DrawablePoints(*column.Slot))
                continue;
            const float v = (*column.Slot->Table)[column.Row][i];
            if (std::isnan(v))
                continue;
            // Locale-free, and the shortest text that gives back the same float.
            const auto result = std::to_chars(cell, cell + sizeof cell, v);
            text.append(cell, result.ptr);
        }
        text += '\n';
    }
    return text;
}
