// SPDX-License-Identifier: MIT
#include "GraphPainter.h"

namespace {

// Offsets are truncated products in double, as 310 x 0.1 x 3 must give 93.
int Offset(int size, double fraction, int i)
{
    return static_cast<int>(size * fraction * i);
}

}   // namespace

void DrawFrameAndGraticule(RasterCanvas& canvas)
{
    const int l = PlotRect.Left;
    const int t = PlotRect.Top;
    const int w = PlotRect.Width;
    const int h = PlotRect.Height;

    canvas.Brush.Color = clWhite;
    canvas.Pen.Color = clBlack;
    canvas.LogicalRectangle(l, t, l + w + 1, t + h + 1);

    canvas.Pen.Color = clActiveBorder;
    for (int i = 1; i <= 9; ++i) {
        const int y = t + Offset(h, 0.1, i);
        canvas.LogicalLine(l + 1, y, l + w, y);
    }
    for (int i = 1; i <= 9; ++i) {
        const int x = l + Offset(w, 0.1, i);
        canvas.LogicalLine(x, t + 1, x, t + h);
    }
    for (int i = 2; i <= 98; i += 2) {
        const int y = t + Offset(h, 0.01, i);
        canvas.LogicalLine(l + w / 2 - 2, y, l + w / 2 + 2, y);
    }
    for (int i = 2; i <= 98; i += 2) {
        const int x = l + Offset(w, 0.01, i);
        canvas.LogicalLine(x, t + h / 2 - 2, x, t + h / 2 + 2);
    }

    // Where a line is wider than the step from one logical pixel to the
    // next (2 against 1 at ratio 1.5), the graticule's ends reach into the
    // frame; the frame goes over them again.
    if (!canvas.Grid().Identity()) {
        canvas.Pen.Color = clBlack;
        canvas.LogicalLine(l, t, l + w + 1, t);
        canvas.LogicalLine(l, t + h, l + w + 1, t + h);
        canvas.LogicalLine(l, t, l, t + h + 1);
        canvas.LogicalLine(l + w, t, l + w, t + h + 1);
    }
}
