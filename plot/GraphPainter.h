// SPDX-License-Identifier: MIT
// Draws the whole plot: frame and graticule, the file-name list, "No data",
// the traces of the displayed history slots, and the cursors.
#pragma once

#include "Canvas.h"
#include "PlotState.h"

#include <cstddef>
#include <string>
#include <vector>

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
// pen's colour, one logical pixel wide in copy mode, mapped with the current
// limits at the canvas's resolution. The pixels are exactly those of MoveTo to
// the first point's TracePoint and LineTo to every further point's with the
// pen Grid().LineWidth() wide; points whose X or Y is NaN (cells a data line
// did not fill) are passed over, the line running from the point before to
// the point after. Leaves that pen width.
void DrawTrace(const PlotState& state, RasterCanvas& canvas, int slot, int axis);

// One trace of a picture: Y axis `Axis` of history slot `Slot` in `Color`.
struct TraceToDraw {
    int Slot;
    int Axis;
    TColor Color;
};

// DrawTrace for each trace in turn, in its colour: the same pixels, and the
// same pen afterwards. Traces of ParallelFrom points or more in all are
// walked on two threads at once (a long one in two parts) into lists of
// strokes, which are painted afterwards in the traces' order. The lists hold
// StrokeBudget strokes in all (16 bytes each); what a walk has left when they
// are full is walked onto the canvas in its turn.
struct TraceDrawing {
    std::size_t ParallelFrom = 1'000'000;
    std::size_t StrokeBudget = std::size_t(1) << 20;
};
void DrawTracesInOrder(const PlotState& state, RasterCanvas& canvas, const std::vector<TraceToDraw>& traces,
                       const TraceDrawing& how = {});

// DrawTrace maps points with AVX where the processor has it, else with SSE2,
// to the same pixels. Tests turn AVX off to check the other road; set it
// only while nothing is drawn.
void AllowWideTraceMapping(bool allowed);

// Where DrawTrace puts the point (x, y) of Y axis `axis` (1..3): the values
// mapped as ValueToPixel maps them, over the plot rectangle's device width
// and height on the grid. At ratio 1 these are ValueToPixelX and -Y.
struct DevicePoint {
    int X;
    int Y;
};
DevicePoint TracePoint(const PlotState& state, const DeviceGrid& grid, int axis, float x, float y);

// Points of a slot that can be drawn: its point count, never more than its
// table holds.
std::size_t DrawablePoints(const TraceSlot& slot);
