// SPDX-License-Identifier: MIT
// The colour table of the options dialog: 16 swatches in 4 rows of 4 drawn
// straight onto the dialog, each labelled "00".."15", and the hit test that
// turns a click into a swatch index.
#pragma once

#include "Canvas.h"
#include "Color.h"
#include "PlotState.h"

#include <array>
#include <cstdint>

class QColor;

inline constexpr int kSwatchLeft = 12;
inline constexpr int kSwatchTop = 30;
inline constexpr int kSwatchWidth = 30;
inline constexpr int kSwatchHeight = 15;
inline constexpr int kSwatchPitchX = 35;
inline constexpr int kSwatchPitchY = 20;
inline constexpr int kSwatchColumns = 4;
inline constexpr int kSwatchRows = 4;
inline constexpr int kEditedSwatchPen = 5;
inline constexpr int kNoSwatch = -1;

// The sunken frame around the swatches, right and bottom exclusive:
// (8, 26) to (153, 111).
inline constexpr int kTableLeft = kSwatchLeft - 4;
inline constexpr int kTableTop = kSwatchTop - 4;
inline constexpr int kTableRight = kSwatchLeft + kSwatchColumns * kSwatchWidth + 21;
inline constexpr int kTableBottom = kSwatchTop + kSwatchRows * kSwatchHeight + 21;

// Sum of the red, green and blue bytes, 0..765; the flag byte is ignored.
int ColorBrightness(TColor color);

// Swatch under a click in client pixels, or kNoSwatch. The divisions truncate
// toward zero, so the band just above the first row and everything left of the
// first column still belong to the first row and column, and a click into the
// gap right of or below a swatch counts for that swatch.
int SwatchAt(int x, int y);

// Top-left corner of swatch k (0..15).
int SwatchX(int k);
int SwatchY(int k);

// White on dark colours, black on light ones. A system colour is judged by
// the pixel it is shown with, so its label stays readable whatever its code.
TColor LabelColorOf(TColor color, std::uint32_t shownPixel);

// Colours of the sunken edge, as buffer pixels (0xAARRGGBB).
struct SunkenEdgeColors {
    std::uint32_t Shadow = 0xFF808080;       // outer top and left
    std::uint32_t Highlight = 0xFFFFFFFF;    // outer bottom and right
    std::uint32_t DarkShadow = 0xFF404040;   // inner top and left
    std::uint32_t Light = 0xFFD4D0C8;        // inner bottom and right
};

// Draws the white frame with its sunken edge and the 16 swatches; the swatch
// editedSwatch (or none for kNoSwatch) gets a 5-pixel border. The canvas ends
// with a 1-pixel pen.
void DrawColorTable(RasterCanvas& canvas, const std::array<TColor, kColorCount>& colors, int editedSwatch,
                    const SunkenEdgeColors& edge = {});

// The program's colour values and Qt's: the flag byte is dropped on the way
// out; a picked colour comes back as a plain RGB value (flag byte 0).
QColor QColorOf(std::uint32_t pixel);
TColor PlainColorOf(const QColor& color);
