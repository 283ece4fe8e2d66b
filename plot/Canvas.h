// SPDX-License-Identifier: MIT
// What the painter, the cursor read-out and the options dialog need of a
// drawing canvas, with the classic pixel rules: LineTo leaves out its end
// pixel and moves the pen; Rectangle outlines with the pen and fills with the
// brush, right and bottom edge excluded; pen mode pmNot inverts the pixels
// under the pen. RasterCanvas draws into a 32-bit pixel buffer (0xAARRGGBB,
// as QImage::Format_RGB32 holds it); text goes through a TextRenderer.
#pragma once

#include "Color.h"

#include <cstdint>
#include <functional>
#include <string>

enum TPenMode { pmCopy, pmNot };
enum TPenStyle { psSolid };

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
    int Height = 12;      // character height in pixels when > 0 ...
    int Size = 0;         // ... else the size in points
    bool Bold = false;
    bool Underline = false;

    void SetHeight(int pixels) { Height = pixels; Size = 0; }
    void SetSize(int points) { Size = points; Height = 0; }
};

struct PixelBuffer {
    std::uint32_t* Pixels = nullptr;   // first pixel of the first row
    int Width = 0;
    int Height = 0;
    int Stride = 0;                    // pixels per row
};

// Draws text into the buffer with its top-left corner at (x, y), the text's
// cell filled with the background colour (already a buffer pixel value).
class TextRenderer {
public:
    virtual ~TextRenderer() = default;
    virtual void DrawText(PixelBuffer& buffer, int x, int y, const std::string& utf8,
                          const TFont& font, std::uint32_t textPixel, std::uint32_t backgroundPixel) = 0;
};

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
    void TextOut(int x, int y, const std::string& utf8);
    int PenX() const { return m_penX; }
    int PenY() const { return m_penY; }

    std::uint32_t PixelOf(TColor color) const;
    PixelBuffer& Buffer() { return m_buffer; }

private:
    PixelBuffer m_buffer;
    TextRenderer* m_text;
    int m_penX = 0;
    int m_penY = 0;
};
