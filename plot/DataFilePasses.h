// SPDX-License-Identifier: MIT
// The reader's two passes over a data file, each over lines from
// DataFileLines: the first counts the data lines and the columns of the first
// one, the second fills a table of exactly that many points.
#pragma once

#include "DataFileColumns.h"
#include "DataFileLines.h"
#include "PlotState.h"

#include <array>
#include <cstddef>
#include <cstdint>

struct DataLineCount {
    std::size_t Lines = 0;   // data lines
    int Columns = 0;         // values on the first data line
    bool CtrlZ = false;      // a Ctrl-Z ended the lines before the end of the file
};

// First pass, over every line of the file. False on a read error.
bool CountLinesOf(DataFileLines& lines, DataLineCount& count);

// Second pass into `slot`, whose Table is already sized to the point count:
// stores the mapped columns of the first Table->Points() data lines and sets
// Present, Min and Max. Cells that a line does not supply hold NaN, which no
// range takes in. Returns the number of data lines stored; a result below the
// point count means the file lost lines since the first pass.
std::size_t ReadDataColumns(DataFileLines& lines, const ColumnChoice& choice, TraceSlot& slot);

// What the values stored from a run of data lines did to each axis.
struct ValueRanges {
    std::array<std::int32_t, kAxisCount> Present{};
    std::array<float, kAxisCount> Min{kNoMinimum, kNoMinimum, kNoMinimum, kNoMinimum};
    std::array<float, kAxisCount> Max{kNoMaximum, kNoMaximum, kNoMaximum, kNoMaximum};
};

// The second pass over one run of data lines: fills rows first .. first +
// count - 1 of every axis (NaN where a line supplies no value) from the next
// `count` data lines and widens `ranges` by what it stores. Returns the number
// of data lines stored. The point index an X of column 0 gets is not set here.
std::size_t ReadDataRows(DataFileLines& lines, const ColumnChoice& choice, DataTable& table, std::size_t first,
                         std::size_t count, ValueRanges& ranges);

// Takes the ranges of a later run of lines into those of the runs before it.
// The result is what one scan over all of them in file order gives, to the
// bit: a maximum or minimum met again takes the later value (0 after -0 is 0,
// -0 after 0 is -0), and so does the merge.
void MergeLaterRanges(ValueRanges& earlier, const ValueRanges& later);

// Stores ranges into the slot; an X of column 0 spans the point indices.
void StoreRanges(const ValueRanges& ranges, const ColumnChoice& choice, TraceSlot& slot);
