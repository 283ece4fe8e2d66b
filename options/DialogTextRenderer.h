// SPDX-License-Identifier: MIT
// Text for the colour table: QPainter on a QImage over the canvas's buffer.
// The text's cell is the font's height in pixels (12 for the dialog font) and
// nothing is drawn below it, so a label never paints over the bottom border
// of its swatch.
#pragma once

#include "Canvas.h"

#include <QFont>

class DialogTextRenderer : public TextRenderer {
public:
    void DrawText(PixelBuffer& buffer, int x, int y, const std::string& utf8, const TFont& font,
                  std::uint32_t textPixel, std::uint32_t backgroundPixel) override;

    // The asked-for family first, then installed faces that carry Japanese.
    static QFont QtFontOf(const TFont& font);
};
