// SPDX-License-Identifier: MIT
#include "ColorTable.h"

#include "FormatText.h"

#include <QColor>

namespace {

// Labels up to this sum (pure blue, pure red, black) are written in white.
constexpr int kDarkBrightness = 256;

TColor ColorOfPixel(std::uint32_t pixel)
{
    const std::uint32_t red = (pixel >> 16) & 0xFF;
    const std::uint32_t green = (pixel >> 8) & 0xFF;
    const std::uint32_t blue = pixel & 0xFF;
    return red | (green << 8) | (blue << 16);
}

// One line of the edge from (x0, y0) to (x1, y1), both ends included.
void EdgeLine(RasterCanvas& canvas, int x0, int y0, int x1, int y1, std::uint32_t pixel)
{
    canvas.Pen.Color = ColorOfPixel(pixel);
    canvas.MoveTo(x0, y0);
    canvas.LineTo(x1 + (x1 > x0 ? 1 : 0), y1 + (y1 > y0 ? 1 : 0));
}

// Two rings: the outer one dark at the top and left and bright at the bottom
// and right, the inner one the same a shade stronger, so the area looks
// pressed into the dialog.
void DrawSunkenEdge(RasterCanvas& canvas, int left, int top, int right, int bottom, const SunkenEdgeColors& edge)
{
    const TPen pen = canvas.Pen;
    canvas.Pen.Width = 1;
    canvas.Pen.Mode = pmCopy;
    struct Ring {
        int Inset;
        std::uint32_t TopLeft;
        std::uint32_t BottomRight;
    };
    for (const Ring& ring : {Ring{0, edge.Shadow, edge.Highlight}, Ring{1, edge.DarkShadow, edge.Light}}) {
        const int l = left + ring.Inset;
        const int t = top + ring.Inset;
        const int r = right - 1 - ring.Inset;
        const int b = bottom - 1 - ring.Inset;
        EdgeLine(canvas, l, b, r, b, ring.BottomRight);
        EdgeLine(canvas, r, t, r, b, ring.BottomRight);
        EdgeLine(canvas, l, t, r - 1, t, ring.TopLeft);
        EdgeLine(canvas, l, t, l, b - 1, ring.TopLeft);
    }
    canvas.Pen = pen;
}

}   // namespace

int ColorBrightness(TColor color)
{
    return RedOf(color) + GreenOf(color) + BlueOf(color);
}

int SwatchAt(int x, int y)
{
    const int column = (x - kSwatchLeft) / kSwatchPitchX;
    const int row = (y - kSwatchTop) / kSwatchPitchY;
    if (column < 0 || column >= kSwatchColumns || row < 0 || row >= kSwatchRows)
        return kNoSwatch;
    return row * kSwatchColumns + column;
}

int SwatchX(int k)
{
    return kSwatchLeft + (k % kSwatchColumns) * kSwatchPitchX;
}

int SwatchY(int k)
{
    return kSwatchTop + (k / kSwatchColumns) * kSwatchPitchY;
}

TColor LabelColorOf(TColor color, std::uint32_t shownPixel)
{
    const TColor judged = IsSystemColor(color) ? ColorOfPixel(shownPixel) : color;
    return ColorBrightness(judged) <= kDarkBrightness ? clWhite : clBlack;
}

void DrawColorTable(RasterCanvas& canvas, const std::array<TColor, kColorCount>& colors, int editedSwatch,
                    const SunkenEdgeColors& edge)
{
    canvas.Font.Name = "Ariel";
    canvas.Brush.Color = clWhite;
    canvas.Pen.Width = 1;
    canvas.Pen.Mode = pmCopy;
    canvas.Pen.Color = clBlack;
    canvas.Rectangle(kTableLeft, kTableTop, kTableRight, kTableBottom);
    DrawSunkenEdge(canvas, kTableLeft, kTableTop, kTableRight, kTableBottom, edge);

    for (int k = 0; k < kColorCount; ++k) {
        const int x = SwatchX(k);
        const int y = SwatchY(k);
        canvas.Brush.Color = colors[k];
        canvas.Pen.Width = k == editedSwatch ? kEditedSwatchPen : 1;
        canvas.Rectangle(x, y, x + kSwatchWidth + 1, y + kSwatchHeight + 1);
        canvas.Font.Color = LabelColorOf(colors[k], canvas.PixelOf(colors[k]));
        canvas.TextOut(x + 10, y + 2, FormatText("%02d", k));
    }
    canvas.Pen.Width = 1;
}

QColor QColorOf(std::uint32_t pixel)
{
    return QColor::fromRgb(pixel | 0xFF000000u);
}

TColor PlainColorOf(const QColor& color)
{
    const QColor rgb = color.toRgb();
    return TColor(rgb.red()) | (TColor(rgb.green()) << 8) | (TColor(rgb.blue()) << 16);
}
