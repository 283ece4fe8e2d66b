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
    canvas.Rectangle(l, t, l + w + 1, t + h + 1);

    canvas.Pen.Color = clActiveBorder;
    for (int i = 1; i <= 9; ++i) {
        const int y = t + Offset(h, 0.1, i);
        canvas.MoveTo(l + 1, y);
        canvas.LineTo(l + w, y);
    }
    for (int i = 1; i <= 9; ++i) {
        const int x = l + Offset(w, 0.1, i);
        canvas.MoveTo(x, t + 1);
        canvas.LineTo(x, t + h);
    }
    for (int i = 2; i <= 98; i += 2) {
        const int y = t + Offset(h, 0.01, i);
        canvas.MoveTo(l + w / 2 - 2, y);
        canvas.LineTo(l + w / 2 + 2, y);
    }
    for (int i = 2; i <= 98; i += 2) {
        const int x = l + Offset(w, 0.01, i);
        canvas.MoveTo(x, t + h / 2 - 2);
        canvas.LineTo(x, t + h / 2 + 2);
    }
}
