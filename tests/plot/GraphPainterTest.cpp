// SPDX-License-Identifier: MIT
#include "GraphPainter.h"
#include "PlainControls.h"

#include "AxisRanges.h"
#include "RecordingTextRenderer.h"
#include "SlotFill.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr int kClientWidth = 383;
constexpr int kClientHeight = 431;
constexpr std::uint32_t kBackground = 0xFFECE9D8;   // what the window shows around the plot
constexpr std::uint32_t kWhite = 0xFFFFFFFF;
constexpr std::uint32_t kBlack = 0xFF000000;
constexpr std::uint32_t kBorder = 0xFFA0A0A0;   // clActiveBorder as the test's platform gives it
constexpr std::uint32_t kRedPixel = 0xFFFF0000;

struct Window {
    std::vector<std::uint32_t> Pixels = std::vector<std::uint32_t>(kClientWidth * kClientHeight, kBackground);
    RecordingTextRenderer Text;
    RasterCanvas Canvas{PixelBuffer{Pixels.data(), kClientWidth, kClientHeight, kClientWidth}, &Text};
    PlainControls Controls;
    PlotState State;

    Window()
    {
        State.Controls = &Controls;
        Canvas.SystemColor = [](TColor) { return kBorder; };
    }

    std::uint32_t At(int x, int y) const { return Pixels[std::size_t(y) * kClientWidth + x]; }
    void Draw() { DrawGraph(State, Canvas); }

    int Count(std::uint32_t pixel) const
    {
        int n = 0;
        for (std::uint32_t p : Pixels)
            n += p == pixel ? 1 : 0;
        return n;
    }

    void Load(int slot, const std::vector<float>& x, const std::vector<float>& y1, const std::vector<float>& y2 = {},
              const std::vector<float>& y3 = {})
    {
        FillSlot(State.Traces[slot], "/home/user/data/file" + std::to_string(slot) + ".dat", x, y1, y2, y3);
    }
};

constexpr int kLines[] = {31, 62, 93, 124, 155, 186, 217, 248, 279};

}   // namespace

TEST(GraphPainter, EmptyPlotIsAFramedWhiteRectangleWithGraticule)
{
    Window w;
    w.Draw();
    for (int y = 1; y <= 311; ++y) {
        EXPECT_EQ(w.At(70, y), kBlack) << y;
        EXPECT_EQ(w.At(380, y), kBlack) << y;
        EXPECT_EQ(w.At(69, y), kBackground) << y;
        EXPECT_EQ(w.At(381, y), kBackground) << y;
    }
    for (int x = 70; x <= 380; ++x) {
        EXPECT_EQ(w.At(x, 1), kBlack) << x;
        EXPECT_EQ(w.At(x, 311), kBlack) << x;
        EXPECT_EQ(w.At(x, 312), kBackground) << x;
    }
    EXPECT_EQ(w.At(75, 5), kWhite);
    for (int offset : kLines) {
        EXPECT_EQ(w.At(70 + offset, 20), kBorder) << "vertical line at offset " << offset;
        EXPECT_EQ(w.At(85, 1 + offset), kBorder) << "horizontal line at offset " << offset;
        EXPECT_EQ(w.At(70 + offset, 1), kBlack) << "lines stop inside the frame";
    }
    EXPECT_EQ(w.At(70 + 30, 20), kWhite);
    EXPECT_EQ(w.At(70 + 32, 20), kWhite);
}

TEST(GraphPainter, MinorTicksSitOnBothCentreLinesAtTruncatedOffsets)
{
    Window w;
    w.Draw();
    for (int offset : {6, 12, 18, 24, 37, 43, 303}) {
        const int y = 1 + offset;
        EXPECT_EQ(w.At(222, y), kWhite) << offset;
        for (int x = 223; x <= 226; ++x)
            EXPECT_EQ(w.At(x, y), kBorder) << offset << " x " << x;
        EXPECT_EQ(w.At(227, y), kWhite) << offset;

        const int x = 70 + offset;
        EXPECT_EQ(w.At(x, 153), kWhite) << offset;
        for (int yy = 154; yy <= 157; ++yy)
            EXPECT_EQ(w.At(x, yy), kBorder) << offset << " y " << yy;
        EXPECT_EQ(w.At(x, 158), kWhite) << offset;
    }
}

TEST(GraphPainter, NoDataIsWrittenInRedArielWhenNothingIsDisplayed)
{
    Window w;
    w.Draw();
    const RecordedText* noData = w.Text.Find("No data");
    ASSERT_NE(noData, nullptr);
    EXPECT_EQ(noData->X, 198);
    EXPECT_EQ(noData->Y, 148);
    EXPECT_EQ(noData->Font.Name, "Ariel");
    EXPECT_EQ(noData->Font.Height, 16);
    EXPECT_EQ(noData->TextPixel, kRedPixel);
    EXPECT_EQ(noData->BackgroundPixel, kWhite);

    Window loaded;
    loaded.Load(0, {0, 1}, {0, 1});
    loaded.Draw();
    EXPECT_EQ(loaded.Text.Find("No data"), nullptr);
}

class ConstantTrace : public ::testing::TestWithParam<float> { };

TEST_P(ConstantTrace, LiesAtMidHeightWhateverItsSign)
{
    Window w;
    w.State.Colors[0] = 0x000000FF;
    const float c = GetParam();
    w.Load(0, {0, 1, 2, 3}, {c, c, c, c});
    w.Draw();
    for (int x = 70; x < 380; ++x)
        ASSERT_EQ(w.At(x, 156), kRedPixel) << x;
    EXPECT_EQ(w.Count(kRedPixel), 310) << "the last point's pixel is left out";
}

INSTANTIATE_TEST_SUITE_P(GraphPainter, ConstantTrace, ::testing::Values(5.0f, -5.0f, 0.0f, 1e-30f, -3e36f));

TEST(GraphPainter, ValuesAtAndBeyondTheLimitsRunAlongTheFrame)
{
    Window w;
    w.State.Colors[0] = 0x000000FF;
    w.Controls.Auto[1] = false;
    w.State.Axes[1] = {10, 0};
    w.Load(0, {0, 1, 2, 3}, {0, 10, 1e30f, -50});
    w.Draw();
    EXPECT_EQ(w.At(70, 311), kRedPixel) << "lower limit on the bottom edge";
    EXPECT_EQ(w.At(173, 1), kRedPixel) << "upper limit on the top edge";
    for (int x = 174; x < 277; ++x)
        EXPECT_EQ(w.At(x, 1), kRedPixel) << "beyond the upper limit along the top edge at " << x;
    EXPECT_EQ(w.At(70, 0), kBackground);
    EXPECT_EQ(w.At(70, 312), kBackground);
}

TEST(GraphPainter, SinglePointFileDrawsNoTrace)
{
    Window w;
    w.State.Colors[0] = 0x000000FF;
    w.Load(0, {3}, {7});
    w.Draw();
    EXPECT_EQ(w.Count(kRedPixel), 0);
    EXPECT_EQ(w.Text.Find("No data"), nullptr);
}

TEST(GraphPainter, LaterAxesAndNewerFilesLieOnTop)
{
    Window w;
    w.Controls.YsItem = 1;          // two Ys: slot s axis k takes entry 2s + k - 1
    w.State.Colors[0] = 0x000001;   // slot 0, Y1
    w.State.Colors[1] = 0x000002;   // slot 0, Y2
    w.State.Colors[2] = 0x000003;   // slot 1, Y1
    w.State.Colors[3] = 0x000004;   // slot 1, Y2
    w.State.TracesShown = 2;
    w.Load(1, {0, 1}, {0, 1}, {0, 1});
    w.Load(0, {0, 1}, {0, 1}, {0, 1});
    w.Draw();
    EXPECT_EQ(w.At(225, 156), 0xFF020000u) << "Y2 of the newest file over everything";

    w.Controls.YsItem = 0;
    w.Draw();
    EXPECT_EQ(w.At(225, 156), 0xFF010000u) << "with one Y, slot 0 takes entry 0 and covers slot 1";
    EXPECT_EQ(w.Count(0xFF020000u), 0) << "slot 1 takes entry 1 with one Y, and lies underneath";
}

TEST(GraphPainter, FileNameListShowsNamesAndTheLabelsOfPresentColumns)
{
    Window w;
    w.Controls.Names = true;
    w.Controls.YsItem = 2;
    w.State.TracesShown = 2;
    w.Load(1, {0, 1}, {0, 1}, {}, {0, 1});   // lacks Y2
    w.Load(0, {0, 1}, {0, 1}, {0, 1}, {0, 1});
    w.Draw();

    std::vector<std::string> texts;
    for (const RecordedText& call : w.Text.Calls)
        texts.push_back(call.Text);
    EXPECT_EQ(texts, (std::vector<std::string>{"file0.dat", "Y1", "Y2", "Y3", "file1.dat", "Y1", "Y3"}));

    const auto& calls = w.Text.Calls;
    EXPECT_EQ(calls[0].X, 80);
    EXPECT_EQ(calls[0].Y, 11);
    EXPECT_EQ(calls[0].Font.Name, "ＭＳ ゴシック");
    EXPECT_EQ(calls[0].TextPixel, 0xFF808080u);
    EXPECT_FALSE(calls[0].Font.Bold);
    EXPECT_EQ(calls[1].X, 330);
    EXPECT_EQ(calls[2].X, 346);
    EXPECT_EQ(calls[3].X, 362);
    EXPECT_TRUE(calls[1].Font.Bold && calls[1].Font.Underline);
    EXPECT_EQ(calls[4].Y, 23);
    EXPECT_FALSE(calls[4].Font.Bold || calls[4].Font.Underline);
    RasterCanvas probe(PixelBuffer{});
    EXPECT_EQ(calls[5].TextPixel, probe.PixelOf(w.State.Colors[3]));
    EXPECT_EQ(calls[6].TextPixel, probe.PixelOf(w.State.Colors[5]));
    EXPECT_EQ(calls[6].X, 362);
}

TEST(GraphPainter, ColourIndexesStayInsideTheTable)
{
    EXPECT_EQ(TraceColorIndex(1, 9, 1), 9);
    EXPECT_EQ(TraceColorIndex(2, 1, 2), 3);
    EXPECT_EQ(TraceColorIndex(3, 1, 1), 3);
    EXPECT_EQ(TraceColorIndex(3, 5, 2), 0);
    EXPECT_EQ(TraceColorIndex(2, 8, 1), 0);
    for (int numYs = 0; numYs <= 3; ++numYs)
        for (int s = 0; s < kHistorySlots; ++s)
            for (int k = 0; k <= 3; ++k) {
                const int index = TraceColorIndex(numYs, s, k);
                EXPECT_TRUE(index >= 0 && index < kColorCount) << numYs << ' ' << s << ' ' << k;
            }
}

TEST(GraphPainter, TenFilesWithThreeYsDrawWithoutLeavingTheColourTable)
{
    Window w;
    w.Controls.YsItem = 2;
    w.Controls.Names = true;
    w.State.TracesShown = 10;
    for (int s = 9; s >= 0; --s)
        w.Load(s, {0, 1, 2}, {0, float(s), 1}, {1, 0, float(s)}, {float(s), 1, 0});
    w.Draw();
    EXPECT_EQ(w.State.DisplayedTraces, 10);
    EXPECT_EQ(w.Text.Calls.size(), 40u);
}

TEST(GraphPainter, NoYSelectedDrawsNoTraceAndNoLabel)
{
    Window w;
    w.Controls.YsItem = -1;
    w.Controls.Names = true;
    w.State.Colors[0] = 0x000000FF;
    w.Load(0, {0, 1, 2}, {0, 5, 1});
    w.Draw();
    EXPECT_EQ(w.Count(kRedPixel), 0);
    ASSERT_EQ(w.Text.Calls.size(), 1u);
    EXPECT_EQ(w.Text.Calls[0].Text, "file0.dat");
}

TEST(GraphPainter, PaintLeavesThePenSolidOnePixelCopyAndTheFontAtNinePoints)
{
    Window w;
    w.Canvas.Pen.Width = 5;
    w.Canvas.Pen.Mode = pmNot;
    w.Controls.Cursor = true;
    w.Draw();
    EXPECT_EQ(w.Canvas.Pen.Width, 1);
    EXPECT_EQ(w.Canvas.Pen.Mode, pmCopy);
    EXPECT_EQ(w.Canvas.Pen.Style, psSolid);
    EXPECT_EQ(w.Canvas.Font.Size, 9);
    EXPECT_EQ(w.Canvas.Font.Height, 0);
    EXPECT_EQ(w.Canvas.Brush.Color, clWhite);
}

TEST(GraphPainter, CursorCrossStandsAtTheCentreAndASecondDrawErasesIt)
{
    Window on;
    on.Load(0, {0, 1, 2}, {0, 5, 1});
    on.Controls.Cursor = true;
    on.Draw();
    EXPECT_EQ(on.State.CursorX, 225);
    EXPECT_EQ(on.State.CursorY, 156);
    EXPECT_EQ(on.At(225, 100), kBorder ^ 0xFFFFFF) << "the centre graticule line, inverted";
    EXPECT_EQ(on.At(100, 156), kBorder ^ 0xFFFFFF);
    EXPECT_EQ(on.At(225, 156), kBorder) << "both arms invert the centre pixel";

    Window off;
    off.Load(0, {0, 1, 2}, {0, 5, 1});
    off.Draw();
    EXPECT_NE(on.Pixels, off.Pixels);
    DrawCursorCross(on.State, on.Canvas);
    EXPECT_EQ(on.Pixels, off.Pixels);
    EXPECT_EQ(on.Canvas.Pen.Mode, pmCopy);
}

TEST(GraphPainter, ErasingTheCrossLeavesTheRedCursorLinesIntact)
{
    // The red lines cross the cursor cross at (225, 40) and (100, 156); after
    // the cross is erased those pixels must be red again, not inverted red.
    Window on;
    on.Controls.Cursor = true;
    on.State.RedCursorX = 100;
    on.State.RedCursorY = 40;
    on.Load(0, {0, 1}, {0, 1});
    on.Draw();
    DrawCursorCross(on.State, on.Canvas);

    Window expected;
    expected.Load(0, {0, 1}, {0, 1});
    expected.Draw();
    expected.Canvas.Pen.Color = clRed;
    expected.Canvas.MoveTo(100, 1);
    expected.Canvas.LineTo(100, 311);
    expected.Canvas.MoveTo(70, 40);
    expected.Canvas.LineTo(380, 40);
    EXPECT_EQ(on.Pixels, expected.Pixels);
    EXPECT_EQ(on.At(225, 40), kRedPixel);
}

TEST(GraphPainter, CrossAtTheFrameCornersAndOutsideTheWindowIsClipped)
{
    Window w;
    w.Draw();
    const auto before = w.Pixels;
    for (auto [x, y] : {std::pair{70, 1}, std::pair{380, 311}, std::pair{-1, -1}, std::pair{5000, -5000}}) {
        w.State.CursorX = x;
        w.State.CursorY = y;
        DrawCursorCross(w.State, w.Canvas);
        DrawCursorCross(w.State, w.Canvas);
        EXPECT_EQ(w.Pixels, before) << x << ',' << y;
    }
}

TEST(GraphPainter, MissingCellsArePassedOverAndTheLineJoinsTheirNeighbours)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    Window gap;
    gap.State.Colors[0] = 0x000000FF;
    gap.Controls.Auto = {false, false, true, true};
    gap.State.Axes[0] = {4, 0};
    gap.State.Axes[1] = {10, 0};
    gap.Load(0, {0, 1, 2, 3, 4}, {0, 0, 0, 0, 0});
    (*gap.State.Traces[0].Table)[1][2] = nan;
    (*gap.State.Traces[0].Table)[0][3] = nan;
    gap.Draw();

    Window joined;
    joined.State.Colors[0] = 0x000000FF;
    joined.Controls.Auto = {false, false, true, true};
    joined.State.Axes[0] = {4, 0};
    joined.State.Axes[1] = {10, 0};
    joined.Load(0, {0, 1, 4}, {0, 0, 0});
    joined.Draw();
    EXPECT_EQ(gap.Pixels, joined.Pixels);
    EXPECT_EQ(gap.Count(kRedPixel), 310);
}

TEST(GraphPainter, PointCountNeverReadsPastTheTable)
{
    TraceSlot slot;
    slot.Table = AllocTable(4, 3);
    for (std::size_t points : {std::size_t(3), std::size_t(4), SIZE_MAX}) {
        slot.Points = points;
        EXPECT_EQ(DrawablePoints(slot), 3u) << points;
    }
    slot.Points = 0;
    EXPECT_EQ(DrawablePoints(slot), 0u);
    slot.Points = 2;
    EXPECT_EQ(DrawablePoints(slot), 2u);
    slot.Table.reset();
    EXPECT_EQ(DrawablePoints(slot), 0u);
}
