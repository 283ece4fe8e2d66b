// SPDX-License-Identifier: MIT
// Which file column goes to which axis for one load, and how a re-detected
// choice reaches the main window's controls.
#pragma once

#include "PlotState.h"

#include <array>
#include <cstdint>

struct ColumnChoice {
    std::array<std::int32_t, kAxisCount> Map{};   // the ColumnMap the load reads with
    int HighestColumn = 0;                        // values past this one are not read
    bool Redetected = false;
    int YsItem = 0;    // RadioGroup1 item, when re-detected
    int AxesSet = 0;   // axes 0..AxesSet-1 get their edit and auto box set
};

// The choice for a file of `columns` columns. When `redetect` is set the
// columns follow the file: one column gives X = point index and Y1 = column 1
// with one Y; otherwise X, Y1..Y3 = columns 1..4 with as many Ys as the file
// has columns after X (at least one: a file without any value also keeps one
// Y selected rather than leaving the Ys selection empty). Without re-detection
// the user's ColumnMap stands and the highest mapped column bounds the read.
ColumnChoice ChooseColumns(const PlotState& state, bool redetect, int columns);
ColumnChoice ChooseColumnsFromMap(const std::array<std::int32_t, kAxisCount>& columnMap, bool redetect, int columns);

// Takes a re-detected choice into the ColumnMap; the window then sets the
// column edits, the auto boxes of axes 0..AxesSet-1 and the Ys selection, in
// that order. Does nothing for a choice that was not re-detected.
void ApplyColumnChoice(PlotState& state, const ColumnChoice& choice);
