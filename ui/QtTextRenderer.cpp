// SPDX-License-Identifier: MIT
#include "QtTextRenderer.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QString>

#include <algorithm>

namespace {

// Point sizes are meant for a 96 dpi screen, whatever the image's own dpi.
int PixelsOfPoints(int points)
{
    return (points * 96 + 36) / 72;
}

}   // namespace

QStringList FontFamiliesFor(const QString& windowsName)
{
    QStringList families{windowsName};
    if (windowsName == QStringLiteral("ＭＳ ゴシック"))
        families << QStringLiteral("IPAGothic") << QStringLiteral("Noto Sans Mono CJK JP");
    else if (windowsName == QStringLiteral("Ariel"))
        families << QStringLiteral("Arial") << QStringLiteral("Liberation Sans") << QStringLiteral("DejaVu Sans");
    else
        families << QStringLiteral("IPAPGothic") << QStringLiteral("Noto Sans CJK JP");
    return families;
}

QFont UserInterfaceFont()
{
    QFont font;
    font.setFamilies(FontFamiliesFor(QStringLiteral("ＭＳ Ｐゴシック")));
    font.setPixelSize(12);
    return font;
}

QFont QtTextRenderer::QtFontOf(const TFont& font, double ratio)
{
    QFont qfont;
    qfont.setFamilies(FontFamiliesFor(QString::fromStdString(font.Name)));
    const int pixels = font.Height > 0 ? font.Height : PixelsOfPoints(font.Size > 0 ? font.Size : 9);
    qfont.setPixelSize(std::max(1, qRound(pixels * ratio)));
    qfont.setBold(font.Bold);
    qfont.setUnderline(font.Underline);
    return qfont;
}

void QtTextRenderer::DrawText(PixelBuffer& buffer, int x, int y, const std::string& utf8, const TFont& font,
                              std::uint32_t textPixel, std::uint32_t backgroundPixel)
{
    if (!buffer.Usable() || utf8.empty())
        return;
    QImage image(reinterpret_cast<uchar*>(buffer.Pixels), buffer.Width, buffer.Height,
                 static_cast<qsizetype>(buffer.Stride) * 4, QImage::Format_RGB32);
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    const QFont qfont = QtFontOf(font, buffer.Ratio);
    const QFontMetrics metrics(qfont);
    const int cellHeight = m_clipToFontHeight && font.Height > 0 ? qfont.pixelSize() : metrics.height();
    const QRect cell(x, y, metrics.horizontalAdvance(text), cellHeight);

    QPainter painter(&image);
    painter.setClipRect(cell);
    painter.setFont(qfont);
    painter.fillRect(cell, QColor::fromRgb(backgroundPixel));
    painter.setPen(QColor::fromRgb(textPixel));
    painter.drawText(QPoint(x, y + metrics.ascent()), text);
}
