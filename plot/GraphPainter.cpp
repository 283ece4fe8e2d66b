// SPDX-License-Identifier: MIT
#include "GraphPainter.h"

#include "AxisRanges.h"
#include "FileNameParts.h"
#include "FormatText.h"
#include "VectorState.h"

namespace {

// The name list starts this far in from the plot's top left corner, one row
// per slot; the Y labels of a row stand at a fixed column, 16 pixels apart.
constexpr int kNameListInset = 10;
constexpr int kNameRowHeight = 12;
constexpr int kYLabelsLeft = 244;
constexpr int kYLabelSpacing = 16;
// "No data" in its 16-pixel font is about 54 x 16 pixels: centred by hand.
constexpr int kNoDataHalfWidth = 27;
constexpr int kNoDataHalfHeight = 8;

void DrawFileNames(const PlotState& state, RasterCanvas& canvas, int displayed, int numYs)
{
    canvas.Font.Name = "ＭＳ ゴシック";
    for (int s = 0; s < displayed; ++s) {
        const TraceSlot& slot = state.Traces[s];
        const int y = PlotRect.Top + kNameListInset + kNameRowHeight * s;
        canvas.Font.Color = clGray;
        canvas.Font.Bold = false;
        canvas.Font.Underline = false;
        canvas.LogicalTextOut(PlotRect.Left + kNameListInset, y, ExtractFileName(slot.Name));

        // The labels come after the name and cover a long one.
        canvas.Font.Bold = true;
        canvas.Font.Underline = true;
        for (int k = 1; k <= numYs; ++k) {
            if (!slot.Present[k])
                continue;
            canvas.Font.Color = state.Colors[TraceColorIndex(numYs, s, k)];
            canvas.LogicalTextOut(PlotRect.Left + kYLabelsLeft + kYLabelSpacing * k, y, FormatText("Y%d", k));
        }
        canvas.Font.Bold = false;
        canvas.Font.Underline = false;
    }
}

void DrawNoData(RasterCanvas& canvas)
{
    canvas.Font.Name = "Ariel";
    canvas.Font.Color = clRed;
    canvas.Font.SetHeight(16);
    canvas.LogicalTextOut(PlotRect.Left + PlotRect.Width / 2 - kNoDataHalfWidth,
                          PlotRect.Top + PlotRect.Height / 2 - kNoDataHalfHeight, "No data");
}

// Y1 traces lie under Y2 traces, which lie under Y3 traces; within an axis
// the newest file is drawn last, on top.
void DrawTraces(const PlotState& state, RasterCanvas& canvas, int displayed, int numYs)
{
    ClearUpperVectorState();
    std::vector<TraceToDraw> traces;
    for (int k = 1; k <= numYs; ++k) {
        for (int s = displayed - 1; s >= 0; --s) {
            const TraceSlot& slot = state.Traces[s];
            if (slot.Loaded() && slot.Present[k])
                traces.push_back({s, k, state.Colors[TraceColorIndex(numYs, s, k)]});
        }
    }
    DrawTracesInOrder(state, canvas, traces);
}

void DrawRedCursor(const PlotState& state, RasterCanvas& canvas)
{
    canvas.Pen.Mode = pmCopy;
    canvas.Pen.Color = clRed;
    canvas.LogicalLine(state.RedCursorX, PlotRect.Top, state.RedCursorX, PlotRect.Top + PlotRect.Height);
    canvas.LogicalLine(PlotRect.Left, state.RedCursorY, PlotRect.Left + PlotRect.Width, state.RedCursorY);
}

}   // namespace

int TraceColorIndex(int numYs, int slot, int axis)
{
    const int index = numYs * slot + axis - 1;
    return index >= 0 ? index % kColorCount : 0;
}

void DrawCursorCross(const PlotState& state, RasterCanvas& canvas)
{
    canvas.Pen.Width = 1;
    canvas.Pen.Mode = pmNot;
    canvas.LogicalLine(state.CursorX, PlotRect.Top, state.CursorX, PlotRect.Top + PlotRect.Height);
    canvas.LogicalLine(PlotRect.Left, state.CursorY, PlotRect.Left + PlotRect.Width, state.CursorY);
    canvas.Pen.Mode = pmCopy;
}

void DrawGraph(PlotState& state, RasterCanvas& canvas)
{
    SettleAxisRanges(state);
    const int displayed = state.DisplayedTraces;
    const int numYs = ShownYs(state);

    // Whatever a caller left in the pen, the picture is drawn in copy mode.
    canvas.Pen.Mode = pmCopy;
    canvas.Pen.Width = 1;
    DrawFrameAndGraticule(canvas);
    if (state.Controls && state.Controls->DispName())
        DrawFileNames(state, canvas, displayed, numYs);
    if (displayed == 0)
        DrawNoData(canvas);
    DrawTraces(state, canvas, displayed, numYs);

    canvas.Pen.Width = 1;
    canvas.Font.SetSize(9);
    canvas.Pen.Style = psSolid;

    if (state.Controls && state.Controls->CursorOn()) {
        // The red lines go in first: the inverted cross drawn over them is
        // erased exactly by the next mouse move. Drawn the other way round,
        // erasing the cross would leave inverted dots on the red lines.
        if (state.RedCursorX >= 0)
            DrawRedCursor(state, canvas);
        state.CursorX = PlotRect.Left + PlotRect.Width / 2;
        state.CursorY = PlotRect.Top + PlotRect.Height / 2;
        DrawCursorCross(state, canvas);
    }
}
