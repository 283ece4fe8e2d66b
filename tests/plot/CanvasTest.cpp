// SPDX-License-Identifier: MIT
#include "Canvas.h"

#include "RecordingTextRenderer.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <random>
#include <set>
#include <utility>
#include <vector>

namespace {

constexpr std::uint32_t kCanary = 0x12345678;
constexpr std::uint32_t kPaper = 0xFF102030;
constexpr std::uint32_t kBlackPixel = 0xFF000000;

// A canvas over a w x h picture that sits inside a larger block: one guard row
// above and below, and guard pixels right of every row, so that a write past
// the picture shows up as a changed canary.
struct GuardedCanvas {
    int W;
    int H;
    int Stride;
    std::vector<std::uint32_t> Block;
    RasterCanvas Canvas;

    GuardedCanvas(int w, int h)
        : W(w), H(h), Stride(w + 8), Block(std::size_t(h + 2) * (w + 8), kCanary), Canvas(Buffer())
    {
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                At(x, y) = kPaper;
        Canvas.SetBuffer(Buffer());
    }

    PixelBuffer Buffer() { return PixelBuffer{Block.data() + Stride, W, H, Stride}; }
    std::uint32_t& At(int x, int y) { return Block[std::size_t(y + 1) * Stride + x]; }

    std::set<std::pair<int, int>> Painted()
    {
        std::set<std::pair<int, int>> result;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                if (At(x, y) != kPaper)
                    result.insert({x, y});
        return result;
    }

    bool GuardsIntact() const
    {
        for (std::size_t i = 0; i < Block.size(); ++i) {
            const std::size_t row = i / Stride;
            const std::size_t column = i % Stride;
            const bool inside = row >= 1 && row <= std::size_t(H) && column < std::size_t(W);
            if (!inside && Block[i] != kCanary)
                return false;
        }
        return true;
    }

    void Line(int x0, int y0, int x1, int y1)
    {
        Canvas.MoveTo(x0, y0);
        Canvas.LineTo(x1, y1);
    }
};

}   // namespace

TEST(RasterCanvas, LineToLeavesOutTheEndPixelAndMovesThePen)
{
    GuardedCanvas g(20, 5);
    g.Line(2, 1, 12, 1);
    const auto painted = g.Painted();
    EXPECT_EQ(painted.size(), 10u);
    EXPECT_TRUE(painted.count({2, 1}));
    EXPECT_TRUE(painted.count({11, 1}));
    EXPECT_FALSE(painted.count({12, 1}));
    EXPECT_EQ(g.Canvas.PenX(), 12);
    EXPECT_EQ(g.Canvas.PenY(), 1);
    EXPECT_EQ(g.At(5, 1), kBlackPixel);
}

TEST(RasterCanvas, LineToTheCurrentPointDrawsNothing)
{
    GuardedCanvas g(10, 10);
    g.Line(4, 4, 4, 4);
    EXPECT_TRUE(g.Painted().empty());
}

// Every random segment is one 8-connected pixel per step of its longer
// direction, each within half a pixel of the ideal line, and drawn backwards
// it covers the same pixels apart from the left-out ends.
TEST(RasterCanvas, RandomSegmentsFollowTheIdealLineInBothDirections)
{
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> coordinate(0, 39);
    for (int trial = 0; trial < 2000; ++trial) {
        const int x0 = coordinate(rng), y0 = coordinate(rng), x1 = coordinate(rng), y1 = coordinate(rng);
        if (x0 == x1 && y0 == y1)
            continue;
        GuardedCanvas forward(40, 40);
        forward.Line(x0, y0, x1, y1);
        GuardedCanvas backward(40, 40);
        backward.Line(x1, y1, x0, y0);
        auto f = forward.Painted();
        auto b = backward.Painted();

        const int dx = x1 - x0, dy = y1 - y0;
        const int steps = std::max(std::abs(dx), std::abs(dy));
        ASSERT_EQ(int(f.size()), steps) << x0 << ',' << y0 << " -> " << x1 << ',' << y1;
        ASSERT_FALSE(f.count({x1, y1}));
        for (auto [x, y] : f) {
            const double distance = std::abs(dx) >= std::abs(dy) ? std::abs(y0 + double(dy) * (x - x0) / dx - y)
                                                                 : std::abs(x0 + double(dx) * (y - y0) / dy - x);
            ASSERT_LE(distance, 0.5) << x0 << ',' << y0 << " -> " << x1 << ',' << y1;
        }
        f.insert({x1, y1});
        b.insert({x0, y0});
        ASSERT_EQ(f, b) << x0 << ',' << y0 << " -> " << x1 << ',' << y1;
    }
}

TEST(RasterCanvas, LinesFarOutsideAreClippedWithoutWritingPastTheBuffer)
{
    GuardedCanvas g(30, 20);
    g.Line(INT_MIN, 5, INT_MAX, 5);
    g.Line(7, INT_MAX, 7, INT_MIN);
    g.Line(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    g.Line(-1000, 30, 1000, -30);
    EXPECT_TRUE(g.GuardsIntact());
    for (int x = 0; x < 30; ++x)
        EXPECT_EQ(g.At(x, 5), kBlackPixel) << x;
    for (int y = 0; y < 20; ++y)
        EXPECT_EQ(g.At(7, y), kBlackPixel) << y;
}

TEST(RasterCanvas, ClippedLineKeepsThePixelsOfTheUnclippedOne)
{
    // The same segment drawn on a big canvas and on a small one that sees only
    // part of it: the visible part must match.
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> coordinate(-60, 90);
    for (int trial = 0; trial < 300; ++trial) {
        const int x0 = coordinate(rng), y0 = coordinate(rng), x1 = coordinate(rng), y1 = coordinate(rng);
        GuardedCanvas big(200, 200);
        big.Line(x0 + 80, y0 + 80, x1 + 80, y1 + 80);
        GuardedCanvas small(30, 30);
        small.Line(x0, y0, x1, y1);
        ASSERT_TRUE(small.GuardsIntact());
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 30; ++x)
                ASSERT_EQ(small.At(x, y), big.At(x + 80, y + 80)) << trial;
    }
}

TEST(RasterCanvas, InvertedLinesDrawnTwiceRestoreTheBufferBitForBit)
{
    GuardedCanvas g(40, 40);
    std::mt19937 rng(3);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            g.At(x, y) = 0xFF000000u | (rng() & 0xFFFFFF);
    const auto before = g.Block;
    g.Canvas.Pen.Mode = pmNot;
    for (int width : {1, 3, 5}) {
        g.Canvas.Pen.Width = width;
        for (int pass = 0; pass < 2; ++pass) {
            g.Line(-3, 12, 45, 20);
            g.Line(20, -5, 22, 50);
            g.Canvas.Rectangle(5, 5, 30, 25);
        }
        EXPECT_EQ(g.Block, before) << "width " << width;
    }
}

TEST(RasterCanvas, InvertKeepsAlphaAndFlipsColour)
{
    GuardedCanvas g(5, 5);
    g.At(1, 2) = 0xFFAB4855;
    g.Canvas.Pen.Mode = pmNot;
    g.Line(1, 2, 2, 2);
    EXPECT_EQ(g.At(1, 2), 0xFF54B7AAu);
}

TEST(RasterCanvas, WidePenLinesInvertEveryPixelOnce)
{
    GuardedCanvas g(40, 40);
    g.Canvas.Pen.Mode = pmNot;
    g.Canvas.Pen.Width = 5;
    g.Line(3, 4, 35, 17);
    const std::uint32_t inverted = kPaper ^ 0xFFFFFF;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_TRUE(g.At(x, y) == kPaper || g.At(x, y) == inverted) << x << ',' << y;
    // A flat line widens across its direction: five rows at its start column.
    for (int y = 2; y <= 6; ++y)
        EXPECT_EQ(g.At(3, y), inverted) << y;
    EXPECT_EQ(g.At(3, 1), kPaper);
    EXPECT_EQ(g.At(3, 7), kPaper);
}

TEST(RasterCanvas, RectangleOutlinesWithPenFillsWithBrushAndLeavesOutRightAndBottom)
{
    GuardedCanvas g(20, 20);
    g.Canvas.Brush.Color = 0x0000FF;   // red
    g.Canvas.Rectangle(2, 3, 8, 7);
    const std::uint32_t red = 0xFFFF0000;
    for (int y = 3; y <= 6; ++y) {
        EXPECT_EQ(g.At(2, y), kBlackPixel);
        EXPECT_EQ(g.At(7, y), kBlackPixel);
        EXPECT_EQ(g.At(8, y), kPaper);
    }
    for (int x = 2; x <= 7; ++x) {
        EXPECT_EQ(g.At(x, 3), kBlackPixel);
        EXPECT_EQ(g.At(x, 6), kBlackPixel);
        EXPECT_EQ(g.At(x, 7), kPaper);
    }
    for (int y = 4; y <= 5; ++y)
        for (int x = 3; x <= 6; ++x)
            EXPECT_EQ(g.At(x, y), red);
    EXPECT_EQ(g.Painted().size(), 24u);
}

TEST(RasterCanvas, RectangleWithSwappedCornersIsTheSameRectangle)
{
    GuardedCanvas a(20, 20);
    a.Canvas.Rectangle(2, 3, 8, 7);
    GuardedCanvas b(20, 20);
    b.Canvas.Rectangle(8, 7, 2, 3);
    EXPECT_EQ(a.Block, b.Block);
}

TEST(RasterCanvas, EmptyRectangleDrawsNothing)
{
    GuardedCanvas g(10, 10);
    g.Canvas.Rectangle(4, 4, 4, 9);
    g.Canvas.Rectangle(4, 4, 9, 4);
    EXPECT_TRUE(g.Painted().empty());
}

TEST(RasterCanvas, FivePixelPenWidensTheSwatchBorderTwoPixelsEachWay)
{
    // The options dialog's swatch: rectangle (12, 30)-(43, 46) with pen width 5.
    GuardedCanvas g(60, 60);
    g.Canvas.Pen.Width = 5;
    g.Canvas.Brush.Color = 0x00FF00;
    g.Canvas.Rectangle(12, 30, 43, 46);
    const std::uint32_t green = 0xFF00FF00;
    EXPECT_EQ(g.At(10, 35), kBlackPixel);   // two outwards from the left side
    EXPECT_EQ(g.At(9, 35), kPaper);
    EXPECT_EQ(g.At(14, 35), kBlackPixel);   // two inwards
    EXPECT_EQ(g.At(15, 35), green);
    EXPECT_EQ(g.At(44, 35), kBlackPixel);   // right side: column 42 +- 2
    EXPECT_EQ(g.At(45, 35), kPaper);
    EXPECT_EQ(g.At(39, 35), green);
    EXPECT_EQ(g.At(20, 28), kBlackPixel);   // top: row 30 +- 2
    EXPECT_EQ(g.At(20, 27), kPaper);
    EXPECT_EQ(g.At(20, 47), kBlackPixel);   // bottom: row 45 +- 2
    EXPECT_EQ(g.At(20, 48), kPaper);
}

TEST(RasterCanvas, RectangleAcrossTheBufferEdgeIsClipped)
{
    GuardedCanvas g(10, 10);
    g.Canvas.Pen.Width = 9;
    g.Canvas.Rectangle(-5, -5, 15, 15);
    g.Canvas.Rectangle(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    EXPECT_TRUE(g.GuardsIntact());
}

TEST(RasterCanvas, ProgramColoursIgnoreTheFlagByteAndSystemColoursUseTheCallback)
{
    GuardedCanvas g(2, 2);
    EXPECT_EQ(g.Canvas.PixelOf(0x02FFB080), 0xFF80B0FFu);
    EXPECT_EQ(g.Canvas.PixelOf(0x00FFB080), 0xFF80B0FFu);
    EXPECT_EQ(g.Canvas.PixelOf(clActiveBorder), kDefaultSystemPixel);
    TColor asked = 0;
    g.Canvas.SystemColor = [&](TColor c) {
        asked = c;
        return 0x00ECE9D8u;
    };
    EXPECT_EQ(g.Canvas.PixelOf(clActiveBorder), 0xFFECE9D8u);
    EXPECT_EQ(asked, clActiveBorder);
}

TEST(RasterCanvas, TextOutHandsFontColoursAndBrushToTheRendererAndKeepsThePen)
{
    GuardedCanvas g(10, 10);
    RecordingTextRenderer text;
    g.Canvas.SetTextRenderer(&text);
    g.Canvas.MoveTo(3, 4);
    g.Canvas.Font.Color = clRed;
    g.Canvas.Font.Bold = true;
    g.Canvas.Brush.Color = 0x00FF00;
    g.Canvas.TextOut(5, 6, "Y1");
    ASSERT_EQ(text.Calls.size(), 1u);
    EXPECT_EQ(text.Calls[0].X, 5);
    EXPECT_EQ(text.Calls[0].Y, 6);
    EXPECT_TRUE(text.Calls[0].Font.Bold);
    EXPECT_EQ(text.Calls[0].TextPixel, 0xFFFF0000u);
    EXPECT_EQ(text.Calls[0].BackgroundPixel, 0xFF00FF00u);
    EXPECT_EQ(g.Canvas.PenX(), 3);
    EXPECT_EQ(g.Canvas.PenY(), 4);
}

TEST(RasterCanvas, UnusableBuffersAreLeftAlone)
{
    std::uint32_t pixel = kCanary;
    RecordingTextRenderer text;
    for (PixelBuffer bad :
         {PixelBuffer{}, PixelBuffer{&pixel, 1, 1, 0}, PixelBuffer{&pixel, 0, 1, 1}, PixelBuffer{&pixel, 1, -1, 1}}) {
        RasterCanvas canvas(bad, &text);
        canvas.MoveTo(0, 0);
        canvas.LineTo(5, 5);
        canvas.Rectangle(0, 0, 3, 3);
        canvas.PaintColumn(0, 0, 3);
        canvas.TextOut(0, 0, "x");
    }
    EXPECT_EQ(pixel, kCanary);
    EXPECT_TRUE(text.Calls.empty());
}

TEST(RasterCanvas, PaintColumnCoversBothEndsInEitherOrderAndClips)
{
    GuardedCanvas g(6, 10);
    g.Canvas.PaintColumn(2, 7, 3);
    EXPECT_EQ(g.Painted().size(), 5u);
    EXPECT_EQ(g.At(2, 3), kBlackPixel);
    EXPECT_EQ(g.At(2, 7), kBlackPixel);
    g.Canvas.PaintColumn(4, -100, 100);
    g.Canvas.PaintColumn(6, 0, 9);
    g.Canvas.PaintColumn(-1, 0, 9);
    EXPECT_TRUE(g.GuardsIntact());
    EXPECT_EQ(g.Painted().size(), 15u);
}
