// SPDX-License-Identifier: MIT
// Text for the canvas: QPainter on a QImage that wraps the canvas's own pixel
// buffer, so text and our own lines land in the same picture. Used by the
// main window's plot and by the options dialog's colour table.
#pragma once

#include "Canvas.h"

#include <QFont>
#include <QString>
#include <QStringList>

// The installed fonts that stand in for a Windows font name, after the name
// itself: fontconfig takes the first it has. "ＭＳ ゴシック" is fixed-width,
// "Ariel" (sic) a Latin sans, every other name the proportional Japanese one.
QStringList FontFamiliesFor(const QString& windowsName);
// The program's user-interface font: "ＭＳ Ｐゴシック", 12 pixels.
QFont UserInterfaceFont();

class QtTextRenderer : public TextRenderer {
public:
    // With clipToFontHeight a font given in pixels draws nothing below that
    // height, so a swatch label never paints over its swatch's bottom border.
    explicit QtTextRenderer(bool clipToFontHeight = false) : m_clipToFontHeight(clipToFontHeight) { }

    void DrawText(PixelBuffer& buffer, int x, int y, const std::string& utf8, const TFont& font,
                  std::uint32_t textPixel, std::uint32_t backgroundPixel) override;

    // The Qt font for a canvas font: the asked-for family first, then the
    // installed Japanese faces, so no glyph shows as a box. Its pixel size is
    // the canvas font's at the buffer's device pixel ratio.
    static QFont QtFontOf(const TFont& font, double ratio = 1.0);

private:
    bool m_clipToFontHeight;
};
