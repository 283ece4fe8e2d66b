// SPDX-License-Identifier: MIT
#include "DataFilePasses.h"

#include "LineScanner.h"

#include <algorithm>
#include <bit>
#include <limits>

bool CountLinesOf(DataFileLines& lines, DataLineCount& count)
{
    count = DataLineCount{};
    auto take = [&count](std::string_view line) {
        if (!IsDataLine(line))
            return;
        if (count.Lines == 0)
            count.Columns = CountLineValues(line);
        ++count.Lines;
    };
    // Plain lines in bulk; whatever else (and the reading) one at a time.
    std::string_view line;
    for (;;) {
        if (lines.TakePlainLines(take) != 0)
            continue;
        if (!lines.Next(line))
            break;
        take(line);
    }
    count.CtrlZ = lines.EndedAtCtrlZ();
    return !lines.Failed();
}

std::size_t ReadDataColumns(DataFileLines& lines, const ColumnChoice& choice, TraceSlot& slot)
{
    ValueRanges ranges;
    const std::size_t rows = ReadDataRows(lines, choice, *slot.Table, 0, slot.Table->Points(), ranges);
    StoreRanges(ranges, choice, slot);
    return rows;
}

std::size_t ReadDataRows(DataFileLines& lines, const ColumnChoice& choice, DataTable& table, std::size_t first,
                         std::size_t count, ValueRanges& ranges)
{
    // A cell no value reaches is NaN. It is written with the row rather than
    // beforehand, which would be one more pass over the whole table.
    constexpr float kNoValue = std::numeric_limits<float>::quiet_NaN();
    constexpr unsigned kAllAxes = (1u << kAxisCount) - 1;
    float* rows[kAxisCount];
    for (int axis = 0; axis < kAxisCount; ++axis)
        rows[axis] = table[axis] + first;

    // For each column up to the highest one read, the axes it feeds (bit j = axis j).
    const int highest = std::clamp(choice.HighestColumn, 0, kMaxColumn);
    std::array<unsigned char, kMaxColumn + 1> axesOfColumn{};
    for (int axis = 0; axis < kAxisCount; ++axis) {
        const int column = choice.Map[static_cast<std::size_t>(axis)];
        if (column >= 1 && column <= highest)
            axesOfColumn[static_cast<std::size_t>(column)] |= static_cast<unsigned char>(1u << axis);
    }
    const bool xIsIndex = choice.Map[0] == 0;
    // The ranges stay in locals: stores through `ranges` would have to be
    // redone after every value, since a float store may alias them.
    ValueRanges local = ranges;

    std::size_t row = 0;
    std::string_view line;
    while (row < count && lines.Next(line)) {
        if (!IsDataLine(line))
            continue;
        unsigned written = 0;
        if (xIsIndex) {
            rows[0][row] = static_cast<float>(first + row);
            written = 1;
        }
        LineScanner scanner(line);
        float value;
        auto take = [&](unsigned axis) {
            local.Max[axis] = local.Max[axis] > value ? local.Max[axis] : value;
            local.Min[axis] = local.Min[axis] < value ? local.Min[axis] : value;
            rows[axis][row] = value;
            local.Present[axis] = 1;
            written |= 1u << axis;
        };
        for (int column = 1; column <= highest && scanner.Next(value); ++column) {
            const unsigned axes = axesOfColumn[static_cast<std::size_t>(column)];
            // Mostly a column feeds one axis or none, without a loop.
            if ((axes & (axes - 1)) == 0) {
                if (axes != 0)
                    take(static_cast<unsigned>(std::countr_zero(axes)));
                continue;
            }
            for (unsigned rest = axes, axis = 0; rest != 0; rest >>= 1, ++axis)
                if ((rest & 1u) != 0)
                    take(axis);
        }
        for (unsigned missing = kAllAxes & ~written; missing != 0; missing &= missing - 1)
            rows[std::countr_zero(missing)][row] = kNoValue;
        ++row;
    }
    for (int axis = 0; axis < kAxisCount; ++axis)
        std::fill(rows[axis] + row, rows[axis] + count, kNoValue);
    ranges = local;
    return row;
}

void MergeLaterRanges(ValueRanges& earlier, const ValueRanges& later)
{
    // The same comparisons as the scan's, so ties resolve the same way.
    for (std::size_t axis = 0; axis < kAxisCount; ++axis) {
        earlier.Max[axis] = earlier.Max[axis] > later.Max[axis] ? earlier.Max[axis] : later.Max[axis];
        earlier.Min[axis] = earlier.Min[axis] < later.Min[axis] ? earlier.Min[axis] : later.Min[axis];
        earlier.Present[axis] |= later.Present[axis];
    }
}

void StoreRanges(const ValueRanges& ranges, const ColumnChoice& choice, TraceSlot& slot)
{
    slot.Present = ranges.Present;
    slot.Min = ranges.Min;
    slot.Max = ranges.Max;
    if (choice.Map[0] == 0) {
        slot.Min[0] = 0;
        slot.Max[0] = static_cast<float>(slot.Table->Points()) - 1;
    }
}
