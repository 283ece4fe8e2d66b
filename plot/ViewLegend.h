// SPDX-License-Identifier: MIT
// What the large view's legend lists, where it goes, and the shown data as
// text for the clipboard.
#pragma once

#include "ColumnEnvelope.h"
#include "PlotState.h"

#include <functional>
#include <string>
#include <vector>

struct LegendSwatch {
    int Axis;       // 1..3
    TColor Color;   // as the main painter picks it
    bool Present;   // the file has this column
};

struct LegendRow {
    int Slot;
    std::string Name;   // the file name without its directory
    std::vector<LegendSwatch> Swatches;
};

// One row per displayed slot (0 = newest first), one swatch per shown Y.
std::vector<LegendRow> LegendRows(const PlotState& state);

enum class LegendCorner {
    TopRight,
    TopLeft,
    BottomRight,
    BottomLeft
};

// The corner of the plot area where a legend of the given device size, kept
// `margin` pixels from the edges, covers the fewest marked cells; ties go to
// the earlier corner in the order above.
LegendCorner ChooseLegendCorner(const CoverageGrid& coverage, int plotWidth, int plotHeight, int legendWidth,
                                int legendHeight, int margin);

// Column names of a slot's file (from its header).
using SlotNames = std::function<std::vector<std::string>(const TraceSlot&)>;

// The displayed slots' columns (X and each shown Y the file has) as
// tab-separated text: a header row of "file:column" cells, then one row per
// point up to the longest file; a file that is shorter, and a value that is
// not a number, leave their cells empty. Lines end in LF.
std::string ShownDataAsTsv(const PlotState& state, const SlotNames& names);
// The number of value cells that text holds (rows times columns), known
// before it is made.
std::size_t ShownDataCells(const PlotState& state);
