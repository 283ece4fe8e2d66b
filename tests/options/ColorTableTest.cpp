// SPDX-License-Identifier: MIT
#include "ColorTable.h"

#include "QtTextRenderer.h"

#include <QColor>

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

struct Click {
    int X;
    int Y;
    int Swatch;
};

class ColorTableHit : public testing::TestWithParam<Click> { };

TEST_P(ColorTableHit, TruncatingDivisionPicksTheSwatch)
{
    EXPECT_EQ(SwatchAt(GetParam().X, GetParam().Y), GetParam().Swatch);
}

INSTANTIATE_TEST_SUITE_P(Clicks, ColorTableHit,
                         testing::Values(Click{20, 35, 0},            // inside the first swatch
                                         Click{152, 35, kNoSwatch},   // right of the fourth column
                                         Click{20, 15, 0},            // band above the first row
                                         Click{20, 5, kNoSwatch},     // above that band
                                         Click{44, 47, 0},            // gap right of and below swatch 00
                                         Click{125, 105, 15},         // last swatch
                                         Click{0, 30, 0},             // left of the first column
                                         Click{-30, 30, kNoSwatch},   // far left: -42 / 35 is -1
                                         Click{151, 30, 3},           // last pixel of column 3's gap
                                         Click{12, 109, 12},          // last pixel of row 3's gap
                                         Click{12, 110, kNoSwatch}, Click{47, 50, 5}));   // first pixel of swatch 05

TEST(ColorTable, BrightnessIgnoresTheFlagByte)
{
    EXPECT_EQ(ColorBrightness(0x02000000), 0);
    EXPECT_EQ(ColorBrightness(0x020000FF), 255);
    EXPECT_EQ(ColorBrightness(0x02FFFFFF), 765);
    EXPECT_EQ(ColorBrightness(0xFF808080), 384);
}

TEST(ColorTable, DefaultLabelsAreWhiteUpToRedAndBlackFromCyan)
{
    for (int k = 0; k < kColorCount; ++k) {
        const TColor expected = k <= 3 ? clWhite : clBlack;
        EXPECT_EQ(LabelColorOf(kDefaultColors[k], 0), expected) << "swatch " << k;
    }
    EXPECT_EQ(LabelColorOf(0x000002FF, 0), clBlack);   // 257: just past the white limit
    EXPECT_EQ(LabelColorOf(0x000001FF, 0), clWhite);   // 256
}

TEST(ColorTable, SystemColourLabelFollowsTheShownColour)
{
    // The low bytes of a system colour are a colour index, not RGB: 0x80000005
    // would sum to 5 and get a white label on a light swatch.
    EXPECT_EQ(LabelColorOf(0x80000005, 0xFFF0F0F0), clBlack);
    EXPECT_EQ(LabelColorOf(0x80000005, 0xFF202020), clWhite);
}

TEST(ColorTable, PickedColourIsPlainRgb)
{
    EXPECT_EQ(PlainColorOf(QColor(255, 0, 0)), 0x000000FFu);
    EXPECT_EQ(PlainColorOf(QColor(0x12, 0x34, 0x56)), 0x00563412u);
    EXPECT_EQ(QColorOf(0xFF123456).rgb(), QColor(0x12, 0x34, 0x56).rgb());
}

// Draws the table into a buffer big enough for the dialog's top-left area.
class ColorTablePixels : public testing::Test {
protected:
    static constexpr int kWidth = 170;
    static constexpr int kHeight = 130;
    static constexpr std::uint32_t kBackground = 0xFF123456;

    std::vector<std::uint32_t> pixels = std::vector<std::uint32_t>(kWidth * kHeight, kBackground);
    QtTextRenderer text{true};
    RasterCanvas canvas{PixelBuffer{pixels.data(), kWidth, kHeight, kWidth}, &text};
    SunkenEdgeColors edge{0xFF808080, 0xFFFFFFFF, 0xFF404040, 0xFFD4D0C8};

    std::uint32_t At(int x, int y) const { return pixels[y * kWidth + x]; }
    static int Distance(std::uint32_t a, std::uint32_t b)
    {
        int sum = 0;
        for (int shift = 0; shift < 24; shift += 8)
            sum += std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF));
        return sum;
    }
    void Draw(const std::array<TColor, kColorCount>& colors, int edited)
    {
        DrawColorTable(canvas, colors, edited, edge);
    }
};

TEST_F(ColorTablePixels, FrameAndSwatchesLieOnTheGeometry)
{
    Draw(kDefaultColors, kNoSwatch);

    // Nothing outside the frame (8, 26)..(152, 110).
    for (int x = 0; x < kWidth; ++x) {
        EXPECT_EQ(At(x, 25), kBackground) << x;
        EXPECT_EQ(At(x, 111), kBackground) << x;
    }
    for (int y = 0; y < kHeight; ++y) {
        EXPECT_EQ(At(7, y), kBackground) << y;
        EXPECT_EQ(At(153, y), kBackground) << y;
    }
    // The sunken edge: dark on the top and left, bright on the bottom and right.
    EXPECT_EQ(At(50, 26), edge.Shadow);
    EXPECT_EQ(At(8, 60), edge.Shadow);
    EXPECT_EQ(At(50, 27), edge.DarkShadow);
    EXPECT_EQ(At(9, 60), edge.DarkShadow);
    EXPECT_EQ(At(50, 110), edge.Highlight);
    EXPECT_EQ(At(152, 60), edge.Highlight);
    EXPECT_EQ(At(50, 109), edge.Light);
    EXPECT_EQ(At(151, 60), edge.Light);
    // White inside the frame, in the gaps between swatches.
    EXPECT_EQ(At(10, 28), 0xFFFFFFFF);
    EXPECT_EQ(At(44, 40), 0xFFFFFFFF);
    EXPECT_EQ(At(30, 47), 0xFFFFFFFF);

    for (int k = 0; k < kColorCount; ++k) {
        const int x = SwatchX(k);
        const int y = SwatchY(k);
        const std::uint32_t fill = canvas.PixelOf(kDefaultColors[k]);
        SCOPED_TRACE(k);
        // 1-pixel black outline on columns x and x+30, rows y and y+15.
        EXPECT_EQ(At(x, y + 8), 0xFF000000);
        EXPECT_EQ(At(x + 30, y + 8), 0xFF000000);
        EXPECT_EQ(At(x + 5, y), 0xFF000000);
        EXPECT_EQ(At(x + 5, y + 15), 0xFF000000);
        // Filled with the colour away from the label; white right after the outline.
        EXPECT_EQ(At(x + 1, y + 1), fill);
        EXPECT_EQ(At(x + 29, y + 14), fill);
        EXPECT_EQ(At(x + 31, y + 8), 0xFFFFFFFF);
        EXPECT_EQ(At(x + 5, y + 16), 0xFFFFFFFF);
    }
}

TEST_F(ColorTablePixels, EditedSwatchHasAFivePixelBorder)
{
    Draw(kDefaultColors, 5);
    const int x = SwatchX(5);   // 47
    const int y = SwatchY(5);   // 50
    const std::uint32_t fill = canvas.PixelOf(kDefaultColors[5]);
    for (int dx = -2; dx <= 2; ++dx)
        EXPECT_EQ(At(x + dx, y + 8), 0xFF000000) << dx;
    EXPECT_EQ(At(x - 3, y + 8), 0xFFFFFFFF);
    EXPECT_EQ(At(x + 3, y + 8), fill);
    EXPECT_EQ(At(x + 27, y + 8), fill);
    EXPECT_EQ(At(x + 28, y + 8), 0xFF000000);
    EXPECT_EQ(At(x + 32, y + 8), 0xFF000000);
    EXPECT_EQ(At(x + 33, y + 8), 0xFFFFFFFF);
    EXPECT_EQ(At(x + 8, y - 2), 0xFF000000);
    EXPECT_EQ(At(x + 8, y + 17), 0xFF000000);

    // The next drawing without an edited swatch takes the border back.
    Draw(kDefaultColors, kNoSwatch);
    EXPECT_EQ(At(x - 1, y + 8), 0xFFFFFFFF);
    EXPECT_EQ(At(x + 2, y + 1), fill);
    EXPECT_EQ(canvas.Pen.Width, 1);
}

TEST_F(ColorTablePixels, LabelsAreWrittenInsideTheirSwatch)
{
    Draw(kDefaultColors, kNoSwatch);
    for (int k = 0; k < kColorCount; ++k) {
        const int x = SwatchX(k);
        const int y = SwatchY(k);
        const std::uint32_t label = canvas.PixelOf(LabelColorOf(kDefaultColors[k], 0));
        const std::uint32_t fill = canvas.PixelOf(kDefaultColors[k]);
        // Glyph edges are smoothed, so count the pixels nearer the label's colour.
        int labelPixels = 0;
        for (int py = y + 2; py < y + 14; ++py) {
            for (int px = x + 10; px < x + 30; ++px)
                labelPixels += Distance(At(px, py), label) < Distance(At(px, py), fill);
        }
        EXPECT_GT(labelPixels, 10) << "swatch " << k;
        // The bottom outline under the label stays whole.
        for (int px = x; px <= x + 30; ++px)
            EXPECT_EQ(At(px, y + 15), 0xFF000000) << "swatch " << k << " x " << px;
    }
}

}   // namespace
