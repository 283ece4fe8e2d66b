// SPDX-License-Identifier: MIT
// Draws the whole plot: frame and graticule, the file-name list, "No data",
// the traces of the displayed history slots, and the cursors.
#pragma once

#include "Canvas.h"
#include "PlotState.h"

#include <string>

// Settles the axis ranges (SettleAxisRanges) and draws everything.
void DrawGraph(PlotState& state, RasterCanvas& canvas);

// Colour table index of Y axis k (1..3) of history slot s, always inside the
// table: indexes from 16 on start again at entry 0.
int TraceColorIndex(int numYs, int slot, int axis);

// The cursor cross at (CursorX, CursorY), drawn by inverting pixels: drawing it
// twice at the same place restores the picture bit for bit. Leaves the pen in
// copy mode.
void DrawCursorCross(const PlotState& state, RasterCanvas& canvas);

// The white plot rectangle with its black frame, the graticule lines and the
// minor ticks on the two centre lines.
void DrawFrameAndGraticule(RasterCanvas& canvas);

// Y axis k (1..3) of history slot s against its X row as one polyline in the
// pen's colour, one pixel wide in copy mode, mapped with the current limits.
// The pixels are exactly those of MoveTo to the first point and LineTo to
// every further point; points whose X or Y is NaN (cells a data line did not
// fill) are passed over, the line running from the point before to the point
// after.
void DrawTrace(const PlotState& state, RasterCanvas& canvas, int slot, int axis);

// Points of a slot that can be drawn: its point count, never more than its
// table holds.
std::size_t DrawablePoints(const TraceSlot& slot);
