// SPDX-License-Identifier: MIT
// Draws the whole plot: frame and graticule, the file-name list, "No data",
// the traces of the displayed history slots, and the cursors.
#pragma once

#include "Canvas.h"
#include "PlotState.h"

// Settles the axis ranges (SettleAxisRanges) and draws everything.
void DrawGraph(PlotState& state, RasterCanvas& canvas);

// Colour table index of Y axis k (1..3) of history slot s, always inside the table.
int TraceColorIndex(int numYs, int slot, int axis);

// The cursor cross at (CursorX, CursorY), drawn by inverting pixels: drawing it
// twice at the same place restores the picture bit for bit.
void DrawCursorCross(const PlotState& state, RasterCanvas& canvas);
