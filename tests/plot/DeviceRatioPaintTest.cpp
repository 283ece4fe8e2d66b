// SPDX-License-Identifier: MIT
// The plot drawn into a picture held at a device pixel ratio above 1: the
// same geometry as at ratio 1, lines of one width wherever they lie, traces
// mapped at device resolution, the cross still restoring what it inverted.
#include "GraphPainter.h"
#include "PlainControls.h"

#include "RecordingTextRenderer.h"
#include "SlotFill.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

constexpr std::uint32_t kBackground = 0xFFECE9D8;
constexpr std::uint32_t kWhite = 0xFFFFFFFF;
constexpr std::uint32_t kBlack = 0xFF000000;
constexpr std::uint32_t kBorder = 0xFFA0A0A0;
constexpr TColor kTraceColor = 0x00FF0000;   // blue

struct DevicePicture {
    DeviceGrid Grid;
    int Width;
    int Height;
    std::vector<std::uint32_t> Pixels;
    RecordingTextRenderer Text;
    RasterCanvas Canvas;
    PlainControls Controls;
    PlotState State;

    explicit DevicePicture(double ratio)
        : Grid{ratio},
          Width(Grid.Edge(383)),
          Height(Grid.Edge(431)),
          Pixels(std::size_t(Width) * std::size_t(Height), kBackground),
          Canvas(PixelBuffer{Pixels.data(), Width, Height, Width, ratio}, &Text)
    {
        State.Controls = &Controls;
        Canvas.SystemColor = [](TColor) { return kBorder; };
    }

    std::uint32_t At(int x, int y) const { return Pixels[std::size_t(y) * std::size_t(Width) + std::size_t(x)]; }

    // Runs of `pixel` along device row y (or column x when `column`): start and length.
    std::vector<std::pair<int, int>> Runs(int line, bool column, std::uint32_t pixel, int from, int to) const
    {
        std::vector<std::pair<int, int>> runs;
        for (int i = from; i < to; ++i) {
            if ((column ? At(line, i) : At(i, line)) != pixel)
                continue;
            if (!runs.empty() && runs.back().first + runs.back().second == i)
                ++runs.back().second;
            else
                runs.push_back({i, 1});
        }
        return runs;
    }
};

class DeviceRatioPaint : public ::testing::TestWithParam<double> { };

}   // namespace

TEST(DeviceGrid, EveryDevicePixelPointsIntoTheCellThatHoldsIt)
{
    for (const double ratio : {1.0, 1.1, 1.25, 1.5, 1.75, 2.0, 2.5, 3.0}) {
        const DeviceGrid grid{ratio};
        for (int d = 0; d < 3000; ++d) {
            const int x = grid.CellOf(d);
            ASSERT_LE(grid.Edge(x), d) << ratio;
            ASSERT_GT(grid.Edge(x + 1), d) << ratio;
        }
    }
}

TEST_P(DeviceRatioPaint, FrameAndGraticuleLinesHaveOneWidthAtTheirLogicalPlaces)
{
    DevicePicture picture(GetParam());
    DrawFrameAndGraticule(picture.Canvas);
    const int width = picture.Grid.LineWidth();
    EXPECT_NEAR(width, GetParam(), 0.5) << "a line as wide as a logical pixel, to half a device pixel";

    // Across the plot between two graticule rows and between two columns.
    const int row = picture.Grid.Edge(1 + 15);
    const int column = picture.Grid.Edge(70 + 15);
    for (const bool vertical : {false, true}) {
        const int line = vertical ? column : row;
        const int end = vertical ? picture.Height : picture.Width;
        const auto graticule = picture.Runs(line, vertical, kBorder, 0, end);
        ASSERT_EQ(graticule.size(), 9u) << vertical;
        for (std::size_t i = 0; i < graticule.size(); ++i) {
            EXPECT_EQ(graticule[i].second, width) << vertical << " line " << i;
            const double logical = (vertical ? 1 : 70) + int(310 * 0.1 * double(i + 1));
            EXPECT_NEAR(graticule[i].first / GetParam(), logical, 0.5) << vertical << " line " << i;
        }
        const auto frame = picture.Runs(line, vertical, kBlack, 0, end);
        ASSERT_EQ(frame.size(), 2u);
        EXPECT_EQ(frame[0].second, width);
        EXPECT_EQ(frame[1].second, width);
        EXPECT_NEAR(frame[0].first / GetParam(), vertical ? 1 : 70, 0.5);
        EXPECT_NEAR(frame[1].first / GetParam(), vertical ? 311 : 380, 0.5);
    }

    // The graticule's ends never notch the frame: each frame band is black
    // along its whole length.
    const int top = picture.Grid.Edge(1);
    const int left = picture.Grid.Edge(70);
    for (int i = 0; i < width; ++i) {
        EXPECT_EQ(picture.Runs(top + i, false, kBlack, 0, picture.Width).size(), 1u) << "frame row " << i;
        EXPECT_EQ(picture.Runs(left + i, true, kBlack, 0, picture.Height).size(), 1u) << "frame column " << i;
    }
}

TEST_P(DeviceRatioPaint, CrossInvertsTwoBandsAndRestoresThePicture)
{
    DevicePicture picture(GetParam());
    DrawFrameAndGraticule(picture.Canvas);
    const std::vector<std::uint32_t> plain = picture.Pixels;
    picture.State.CursorX = 140;
    picture.State.CursorY = 200;
    DrawCursorCross(picture.State, picture.Canvas);

    int changed = 0;
    for (std::size_t i = 0; i < plain.size(); ++i) {
        if (plain[i] == picture.Pixels[i])
            continue;
        ++changed;
        ASSERT_EQ(picture.Pixels[i], plain[i] ^ 0x00FFFFFFu);
    }
    // 310 logical pixels each way, the crossing square inverted twice.
    const int width = picture.Grid.LineWidth();
    const int rows = picture.Grid.Edge(311) - picture.Grid.Edge(1);
    const int columns = picture.Grid.Edge(380) - picture.Grid.Edge(70);
    EXPECT_EQ(changed, (rows + columns) * width - 2 * width * width);

    DrawCursorCross(picture.State, picture.Canvas);
    EXPECT_TRUE(picture.Pixels == plain);
}

TEST_P(DeviceRatioPaint, TextStandsAtTheLogicalPlacesInTheSameFonts)
{
    DevicePicture logical(1.0);
    DevicePicture device(GetParam());
    for (DevicePicture* picture : {&logical, &device}) {
        picture->Controls.Names = true;
        picture->Controls.YsItem = 1;
        FillSlot(picture->State.Traces[0], "/data/run.dat", {0, 1}, {0, 1}, {1, 0});
        picture->State.TracesShown = 1;
        DrawGraph(picture->State, picture->Canvas);
    }
    ASSERT_EQ(device.Text.Calls.size(), logical.Text.Calls.size());
    ASSERT_FALSE(device.Text.Calls.empty());
    for (std::size_t i = 0; i < device.Text.Calls.size(); ++i) {
        const RecordedText& at = device.Text.Calls[i];
        const RecordedText& want = logical.Text.Calls[i];
        EXPECT_EQ(at.Text, want.Text);
        EXPECT_EQ(at.Font.Name, want.Font.Name);
        EXPECT_EQ(at.Font.Height, want.Font.Height);
        EXPECT_NEAR(at.X / GetParam(), want.X, 0.5) << at.Text;
        EXPECT_NEAR(at.Y / GetParam(), want.Y, 0.5) << at.Text;
    }
}

INSTANTIATE_TEST_SUITE_P(Ratios, DeviceRatioPaint, ::testing::Values(1.0, 1.25, 1.5, 1.75, 2.0, 3.0));

// X 0..10 and Y 0..2; the vertex (5, 1) stands in the middle of the plot.
struct VertexCase {
    double Ratio;
    int X;
    int Y;
};

class DeviceRatioVertex : public ::testing::TestWithParam<VertexCase> { };

TEST_P(DeviceRatioVertex, TraceIsMappedAtDeviceResolution)
{
    DevicePicture picture(GetParam().Ratio);
    picture.Canvas.Pen.Color = kTraceColor;
    const std::uint32_t blue = picture.Canvas.PixelOf(kTraceColor);
    FillSlot(picture.State.Traces[0], "/data/v.dat", {0, 4, 5, 10}, {0, 2, 1, 2});
    picture.State.Axes[0] = {10, 0};
    picture.State.Axes[1] = {2, 0};
    DrawTrace(picture.State, picture.Canvas, 0, 1);

    const DevicePoint vertex = TracePoint(picture.State, picture.Grid, 1, 5, 1);
    EXPECT_EQ(vertex.X, GetParam().X);
    EXPECT_EQ(vertex.Y, GetParam().Y);
    // The segment leaving the vertex is flat: its pen runs down the column.
    const int width = picture.Grid.LineWidth();
    for (int i = 0; i < width; ++i)
        EXPECT_EQ(picture.At(GetParam().X, GetParam().Y + i), blue) << i;
    EXPECT_NE(picture.At(GetParam().X - 3 * width, GetParam().Y), blue);
}

INSTANTIATE_TEST_SUITE_P(Ratios, DeviceRatioVertex,
                         ::testing::Values(VertexCase{1.0, 225, 156}, VertexCase{1.5, 337, 235},
                                           VertexCase{2.0, 450, 312}));

TEST(DeviceRatioTrace, SteepLineStepsOneDevicePixelPerColumnNotInBlocks)
{
    // A 45-degree line at ratio 2: drawn from the data, each column's pair
    // of pixels sits one row above the last; an enlarged ratio-1 picture
    // would repeat every pair of columns.
    DevicePicture picture(2.0);
    picture.Canvas.Pen.Color = kTraceColor;
    const std::uint32_t blue = picture.Canvas.PixelOf(kTraceColor);
    FillSlot(picture.State.Traces[0], "/data/d.dat", {0, 10}, {0, 10});
    picture.State.Axes[0] = {10, 0};
    picture.State.Axes[1] = {10, 0};
    DrawTrace(picture.State, picture.Canvas, 0, 1);

    int previousTop = -1;
    for (int x = 200; x < 700; ++x) {
        const auto runs = picture.Runs(x, true, blue, 0, picture.Height);
        ASSERT_EQ(runs.size(), 1u) << x;
        EXPECT_EQ(runs[0].second, 2) << x;
        if (previousTop >= 0) {
            EXPECT_EQ(runs[0].first, previousTop - 1) << x;
        }
        previousTop = runs[0].first;
    }
}
