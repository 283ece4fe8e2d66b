// SPDX-License-Identifier: MIT
// The main window on a high-density screen. ctest runs this suite at the
// screen ratios 1, 1.25, 1.5, 1.75 and 2 (QT_SCALE_FACTOR); the device
// pixels expected at each are listed.
#include "AppTestSupport.h"
#include "MainWindowUi.h"

#include "GraphPainter.h"
#include "PlotView.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>

#include <utility>
#include <vector>

namespace {

struct RatioCase {
    double Ratio;
    QSize Picture;
    QRect Plot;        // the plot with its frame, in device pixels
    int LineWidth;     // of every one-pixel line
    int Graticule;     // first device column of the graticule line at logical x 101
    QPoint Vertex;     // the trace's vertex (5, 1) of the file below
    int CrossPixels;   // pixels the cross inverts
    QPoint Last;       // the last device pixel over logical pixel (100, 280)
};

const RatioCase kCases[] = {
    {1.0, {383, 431}, {70, 1, 311, 311}, 1, 101, {225, 156}, 618, {100, 280}},
    {1.25, {479, 539}, {88, 1, 388, 389}, 1, 126, {281, 195}, 773, {125, 350}},
    {1.5, {575, 647}, {105, 2, 467, 467}, 2, 152, {337, 235}, 1852, {151, 421}},
    {1.75, {670, 754}, {123, 2, 544, 544}, 2, 177, {394, 273}, 2160, {176, 491}},
    {2.0, {766, 862}, {140, 2, 622, 622}, 2, 202, {450, 312}, 2472, {201, 561}},
};

}   // namespace

class HighDensityWindow : public MainWindowTest {
protected:
    // X 0..10, Y -2..4: the trace keeps off the frame and off logical row
    // 103, with a vertex at (5, 1) in the middle of the plot.
    void SetUp() override
    {
        MainWindowTest::SetUp();
        TForm1& form = MakeForm(WriteFile("vertex.dat", "0 0\n4 2\n5 1\n10 2\n"));
        TypeInto(Ui(form).Y1_upper, "4");
        TypeInto(Ui(form).Y1_lower, "-2");
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        View = form.findChild<PlotView*>();
        for (const RatioCase& c : kCases)
            if (c.Ratio == form.devicePixelRatioF())
                Case = c;
        ASSERT_EQ(Case.Ratio, form.devicePixelRatioF()) << "no device pixels listed for this ratio";
    }

    // A move to a client position, fractional between logical pixels above
    // ratio 1, as the platform reports a device pixel.
    void Move(const QPointF& client)
    {
        const QPointF local = client - QPointF(View->pos());
        QMouseEvent event(QEvent::MouseMove, local, View->mapToGlobal(local), Qt::NoButton, Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(View, &event);
    }

    PlotView* View = nullptr;
    RatioCase Case{};
};

TEST_F(HighDensityWindow, PictureIsHeldAtTheScreenRatioAndShownPixelForPixel)
{
    const QImage& picture = Form->Picture();
    EXPECT_EQ(picture.devicePixelRatio(), Case.Ratio);
    EXPECT_EQ(picture.size(), Case.Picture);
    EXPECT_EQ(Form->PlotImage(), picture.copy(Case.Plot));
    // Nothing resampled or shifted, though the plot's origin falls between
    // device pixels at 1.5.
    const QImage shot = Form->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shot.copy(Case.Plot), picture.copy(Case.Plot));
}

TEST_F(HighDensityWindow, LinesHaveOneWidthAndTheTraceStandsAtItsDevicePixels)
{
    // Runs of a colour along a device row of the plot: where each starts, how wide it is.
    const QImage& picture = Form->Picture();
    auto runs = [&](int row, QRgb colour) {
        std::vector<std::pair<int, int>> found;
        for (int x = Case.Plot.left(); x <= Case.Plot.right(); ++x) {
            if ((picture.pixel(x, row) & 0xFFFFFF) != colour)
                continue;
            if (!found.empty() && found.back().first + found.back().second == x)
                ++found.back().second;
            else
                found.push_back({x, 1});
        }
        return found;
    };
    const QRgb background = Form->palette().color(QPalette::Window).rgb() & 0xFFFFFF;
    const int row = qRound(103 * Case.Ratio);   // between two minor ticks
    const auto graticule = runs(row, background);
    ASSERT_EQ(graticule.size(), 9u);
    EXPECT_EQ(graticule[0].first, Case.Graticule);
    for (const auto& [start, width] : graticule)
        EXPECT_EQ(width, Case.LineWidth) << "at " << start;
    const auto frame = runs(row, 0x000000);
    ASSERT_EQ(frame.size(), 2u);
    EXPECT_EQ(frame[0], std::pair(Case.Plot.left(), Case.LineWidth));
    EXPECT_EQ(frame[1], std::pair(Case.Plot.right() + 1 - Case.LineWidth, Case.LineWidth));
    // The graticule's ends leave the frame whole.
    const std::vector<std::pair<int, int>> whole{{Case.Plot.left(), Case.Plot.width()}};
    for (int i = 0; i < Case.LineWidth; ++i)
        EXPECT_EQ(runs(Case.Plot.top() + i, 0x000000), whole) << "frame row " << i;

    // The segment leaving the vertex is flat: the pen runs down the column.
    const QRgb trace = Form->Canvas().PixelOf(Form->State.Colors[TraceColorIndex(ShownYs(Form->State), 0, 1)]);
    EXPECT_EQ(picture.pixel(Case.Vertex), trace);
    EXPECT_EQ(picture.pixel(Case.Vertex + QPoint(0, Case.LineWidth - 1)), trace);
}

TEST_F(HighDensityWindow, CrossInvertsItsBandsAndMovesRestoreWhatItCovered)
{
    const QImage plain = Form->Picture().copy();
    Ui(*Form).Cursor->setChecked(true);
    EXPECT_EQ(DifferentPixels(plain, Form->Picture()), Case.CrossPixels);
    for (const QPoint p : {QPoint(100, 200), QPoint(101, 201), QPoint(380, 311), QPoint(70, 1)})
        Move(p);
    EXPECT_EQ(Form->State.CursorX, 70);
    EXPECT_EQ(DifferentPixels(plain, Form->Picture()), Case.CrossPixels);
    Ui(*Form).Cursor->setChecked(false);
    EXPECT_EQ(Form->Picture(), plain);
}

TEST_F(HighDensityWindow, ReadoutsAgreeWithRatioOneAtTheSameLogicalPixels)
{
    Move(QPoint(225, 156));
    EXPECT_EQ(Ui(*Form).CurrentX->text(), "+5");
    EXPECT_EQ(Ui(*Form).CurrentY1->text(), "+1");
    // The last device pixel over logical pixel (100, 280) still reads it,
    // though its logical position rounds to the next pixel.
    Ui(*Form).Cursor->setChecked(true);
    Move(QPointF(Case.Last) / Case.Ratio);
    EXPECT_EQ(Form->State.CursorX, 100);
    EXPECT_EQ(Form->State.CursorY, 280);
    EXPECT_EQ(Ui(*Form).CurrentX->text(), "+0.9677");
    EXPECT_EQ(Ui(*Form).CurrentY1->text(), "-1.4");
}
