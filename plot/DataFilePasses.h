// SPDX-License-Identifier: MIT
// The reader's two passes over a data file, each over lines from
// DataFileLines: the first counts the data lines and the columns of the first
// one, the second fills a table of exactly that many points.
#pragma once

#include "DataFileColumns.h"
#include "DataFileLines.h"
#include "PlotState.h"

#include <cstddef>

struct DataLineCount {
    std::size_t Lines = 0;   // data lines
    int Columns = 0;         // values on the first data line
};

// First pass, over every line of the file. False on a read error.
bool CountDataLines(DataFileLines& lines, DataLineCount& count);

// Second pass into `slot`, whose Table is already sized to the point count:
// stores the mapped columns of the first Table->Points() data lines and sets
// Present, Min and Max. Cells that a line does not supply hold NaN, which no
// range takes in. Returns the number of data lines stored; a result below the
// point count means the file lost lines since the first pass.
std::size_t ReadDataColumns(DataFileLines& lines, const ColumnChoice& choice, TraceSlot& slot);
