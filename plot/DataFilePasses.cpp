// SPDX-License-Identifier: MIT
#include "DataFilePasses.h"

#include "LineScanner.h"

#include <algorithm>
#include <limits>

bool CountDataLines(DataFileLines& lines, DataLineCount& count)
{
    count = DataLineCount{};
    std::string_view line;
    while (lines.Next(line)) {
        if (!IsDataLine(line))
            continue;
        if (count.Lines == 0)
            count.Columns = CountLineValues(line);
        ++count.Lines;
    }
    return !lines.Failed();
}

std::size_t ReadDataColumns(DataFileLines& lines, const ColumnChoice& choice, TraceSlot& slot)
{
    DataTable& table = *slot.Table;
    const std::size_t points = table.Points();
    std::fill(table[0], table[0] + points * kAxisCount, std::numeric_limits<float>::quiet_NaN());

    for (int axis = 0; axis < kAxisCount; ++axis) {
        slot.Present[axis] = 0;
        slot.Min[axis] = kNoMinimum;
        slot.Max[axis] = kNoMaximum;
    }

    // For each column up to the highest one read, the axes it feeds (bit j = axis j).
    const int highest = std::clamp(choice.HighestColumn, 0, kMaxColumn);
    std::array<unsigned char, kMaxColumn + 1> axesOfColumn{};
    for (int axis = 0; axis < kAxisCount; ++axis) {
        const int column = choice.Map[axis];
        if (column >= 1 && column <= highest)
            axesOfColumn[column] |= static_cast<unsigned char>(1u << axis);
    }
    const bool xIsIndex = choice.Map[0] == 0;
    float* rows[kAxisCount] = {table[0], table[1], table[2], table[3]};

    std::size_t row = 0;
    std::string_view line;
    while (row < points && lines.Next(line)) {
        if (!IsDataLine(line))
            continue;
        if (xIsIndex)
            rows[0][row] = static_cast<float>(row);
        LineScanner scanner(line);
        float value;
        for (int column = 1; column <= highest && scanner.Next(value); ++column) {
            for (unsigned axes = axesOfColumn[column], axis = 0; axes != 0; axes >>= 1, ++axis) {
                if ((axes & 1u) == 0)
                    continue;
                slot.Max[axis] = slot.Max[axis] > value ? slot.Max[axis] : value;
                slot.Min[axis] = slot.Min[axis] < value ? slot.Min[axis] : value;
                rows[axis][row] = value;
                slot.Present[axis] = 1;
            }
        }
        ++row;
    }
    if (xIsIndex) {
        slot.Min[0] = 0;
        slot.Max[0] = static_cast<float>(points) - 1;
    }
    return row;
}
