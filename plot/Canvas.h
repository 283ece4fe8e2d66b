// SPDX-License-Identifier: MIT
// What the painter, the cursor read-out and the options dialog need of a
// drawing canvas, with the classic pixel rules: LineTo leaves out its end
// pixel and moves the pen; Rectangle outlines with the pen and fills with the
// brush, right and bottom edge excluded; pen mode pmNot inverts the pixels
// under the pen. RasterCanvas draws into a 32-bit pixel buffer (0xAARRGGBB,
// as QImage::Format_RGB32 holds it); text goes through a TextRenderer.
//
// Pixel rules of RasterCanvas:
// - A line is walked from its canonical end (the smaller x for a flat line,
//   the smaller y for a steep one) and each step rounds the minor coordinate
//   half up, so a segment covers the same pixels whichever way it is drawn,
//   apart from the left-out end pixel. Drawing the same line twice in pmNot
//   therefore restores the buffer bit for bit.
// - A pen of width w > 1 draws, for every pixel of the one-pixel line, a run of
//   w pixels across the line's major direction (vertical runs for a flat line,
//   horizontal runs for a steep one), from (w-1)/2 before to w/2 after it. The
//   runs never overlap, so wide lines invert cleanly too.
// - Rectangle(l, t, r, b) has its one-pixel outline on columns l and r-1 and
//   rows t and b-1. A pen of width w widens each side into a band reaching
//   (w-1)/2 pixels outwards and w/2 pixels inwards; the brush fills what lies
//   inside the bands. Every pixel is touched once, so pmNot inverts the whole
//   rectangle, outline and inside, exactly once.
// - Everything is clipped to the buffer; coordinates far outside it cost no
//   more than coordinates on its edge.
//
// A buffer may hold the picture at a device pixel ratio above 1. MoveTo,
// LineTo, Rectangle, TextOut and PaintColumn always address buffer pixels;
// the Logical... calls take the picture's logical pixels and draw them at
// the buffer's resolution (DeviceGrid), exactly as the plain calls at ratio 1.
#pragma once

#include "Color.h"
#include "DeviceGrid.h"

#include <cstdint>
#include <functional>
#include <string>

enum TPenMode {
    pmCopy,
    pmNot
};
enum TPenStyle {
    psSolid
};

struct TPen {
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = psSolid;
    TPenMode Mode = pmCopy;
};

struct TBrush {
    TColor Color = clWhite;
};

struct TFont {
    std::string Name = "ＭＳ Ｐゴシック";
    TColor Color = clBlack;
    int Height = 12;   // character height in pixels when > 0 ...
    int Size = 0;      // ... else the size in points
    bool Bold = false;
    bool Underline = false;

    void SetHeight(int pixels)
    {
        Height = pixels;
        Size = 0;
    }
    void SetSize(int points)
    {
        Size = points;
        Height = 0;
    }
};

struct PixelBuffer {
    std::uint32_t* Pixels = nullptr;   // first pixel of the first row
    int Width = 0;
    int Height = 0;
    int Stride = 0;       // pixels per row
    double Ratio = 1.0;   // device pixels per logical pixel of the picture

    // A buffer the canvas may draw into; any other is left alone.
    bool Usable() const { return Pixels != nullptr && Width > 0 && Height > 0 && Stride >= Width; }
};

// Draws text into the buffer with its top-left corner at buffer pixel (x, y),
// the text's cell filled with the background colour (already a buffer pixel
// value). The font's size is in logical pixels: it is drawn at the buffer's
// ratio.
class TextRenderer {
public:
    virtual ~TextRenderer() = default;
    virtual void DrawText(PixelBuffer& buffer, int x, int y, const std::string& utf8, const TFont& font,
                          std::uint32_t textPixel, std::uint32_t backgroundPixel) = 0;
};

// Buffer pixel of the light grey that stands in for system colours when no
// SystemColor callback is set.
inline constexpr std::uint32_t kDefaultSystemPixel = 0xFFD4D0C8;

// Widest pen the canvas draws; wider settings are drawn at this width.
inline constexpr int kMaxPenWidth = 1000;

class RasterCanvas {
public:
    RasterCanvas(PixelBuffer buffer, TextRenderer* text = nullptr);

    TPen Pen;
    TBrush Brush;
    TFont Font;

    // Maps system colours (top bit set) to a buffer pixel; the default gives a light grey.
    std::function<std::uint32_t(TColor)> SystemColor;

    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Rectangle(int left, int top, int right, int bottom);
    // Text with the brush as its background; the pen does not move.
    void TextOut(int x, int y, const std::string& utf8);
    int PenX() const { return m_penX; }
    int PenY() const { return m_penY; }

    std::uint32_t PixelOf(TColor color) const;
    PixelBuffer& Buffer() { return m_buffer; }
    void SetBuffer(PixelBuffer buffer) { m_buffer = buffer; }
    void SetTextRenderer(TextRenderer* text) { m_text = text; }

    // Paints rows top..bottom (inclusive, either order) of column x with the
    // pen's colour and mode, clipped, widened across as a vertical LineTo
    // widens it. The painter uses it for the part of a trace that stays
    // inside one pixel column.
    void PaintColumn(int x, int top, int bottom);

    DeviceGrid Grid() const { return DeviceGrid{m_buffer.Ratio}; }
    // MoveTo and LineTo in logical pixels, for a line along a row or a
    // column: the band of device pixels from the first pixel's edge to the
    // left-out end pixel's edge, Grid().LineWidth(Pen.Width) wide across.
    // The pen ends on the end point's edges. A slanted line is walked
    // between the edges with the widened pen.
    void LogicalLine(int x0, int y0, int x1, int y1);
    // Rectangle in logical pixels: each side a band as LogicalLine draws it,
    // the brush inside them.
    void LogicalRectangle(int left, int top, int right, int bottom);
    void LogicalTextOut(int x, int y, const std::string& utf8);

private:
    void PaintSegment(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1);
    void PaintSpan(std::int64_t row, std::int64_t from, std::int64_t to, std::uint32_t pixel, bool invert);
    void PaintRun(std::int64_t x, std::int64_t y, bool vertical, int width, std::uint32_t pixel, bool invert);
    // Buffer pixels left..right-1 by top..bottom-1, clipped.
    void PaintBlock(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom, std::uint32_t pixel,
                    bool invert);
    int PenWidth() const;

    PixelBuffer m_buffer;
    TextRenderer* m_text;
    int m_penX = 0;
    int m_penY = 0;
};
