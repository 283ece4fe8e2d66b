// SPDX-License-Identifier: MIT
// Text for the canvas: QPainter on a QImage that wraps the canvas's own pixel
// buffer, so text and our own lines land in the same picture.
#pragma once

#include "Canvas.h"

#include <QFont>

class QtTextRenderer : public TextRenderer {
public:
    void DrawText(PixelBuffer& buffer, int x, int y, const std::string& utf8, const TFont& font,
                  std::uint32_t textPixel, std::uint32_t backgroundPixel) override;

    // The Qt font for a canvas font: the asked-for family first, then the
    // installed Japanese faces, so no glyph shows as a box.
    static QFont QtFontOf(const TFont& font);
};
