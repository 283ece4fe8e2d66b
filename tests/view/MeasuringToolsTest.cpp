// SPDX-License-Identifier: MIT
// The large view's measuring tools: zoom and pan with their history, data
// cursors with their read-out, and the statistics panel.
#include "LargeView.h"
#include "LargeViewWindow.h"
#include "PlainControls.h"
#include "SlotFill.h"
#include "ViewZoom.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QPushButton>
#include <QStyleHints>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Two files: the newest with X every 0.5 and Y1 = 2 X, Y2 = -X; an older one
// with X every 0.3 and Y1 = X + 1, so that its samples fall between the
// newest file's.
class MeasuringFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_state.Controls = &m_controls;
        m_state.TracesShown = kHistorySlots;
        m_controls.YsItem = 1;
        std::vector<float> x0, a0, b0, x1, a1;
        for (int i = 0; i <= 200; ++i) {
            x0.push_back(float(i) * 0.5f);
            a0.push_back(float(i));
            b0.push_back(-float(i) * 0.5f);
        }
        for (int i = 0; i < 300; ++i) {
            x1.push_back(float(i) * 0.3f);
            a1.push_back(float(i) * 0.3f + 1);
        }
        FillSlot(m_state.Traces[0], "new.dat", x0, a0, b0);
        FillSlot(m_state.Traces[1], "old.dat", x1, a1);
        m_state.DisplayedTraces = 2;
        m_state.Axes[0] = {100, 0};
        m_state.Axes[1] = {200, 0};
        m_state.Axes[2] = {0, -50};
    }

    LargeViewWindow& Window()
    {
        if (!m_window) {
            m_window = std::make_unique<LargeViewWindow>(m_state);
            m_window->resize(800, 500);
            // The legend would take presses meant for the plot.
            ViewOptions options;
            options.ShowLegend = false;
            m_window->SetOptions(options);
            m_window->show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
            m_window->CurrentImage();
        }
        return *m_window;
    }

    QRect Plot() { return Window().CurrentImage().isNull() ? QRect() : PlotOf(Window()); }

    static QRect PlotOf(LargeViewWindow& window)
    {
        // The plot area is where X's limits land.
        const int left = qRound(window.PixelOfValue(0, window.ShownLimits().Axes[0].Lower));
        const int right = qRound(window.PixelOfValue(0, window.ShownLimits().Axes[0].Upper));
        const int top = qRound(window.PixelOfValue(1, window.ShownLimits().Axes[1].Upper));
        const int bottom = qRound(window.PixelOfValue(1, window.ShownLimits().Axes[1].Lower));
        return QRect(QPoint(left, top), QPoint(right, bottom));
    }

    void Drag(QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mousePress(&Window(), button, {}, from);
        QTest::mouseMove(&Window(), (from + to) / 2);
        QTest::mouseMove(&Window(), to);
        QTest::mouseRelease(&Window(), button, {}, to);
    }

    PlainControls m_controls;
    PlotState m_state;
    std::unique_ptr<LargeViewWindow> m_window;
};

using Measuring = MeasuringFixture;

TEST_F(Measuring, BoxZoomTakesTheAxesTheShapeAsksForAndHistoryStepsBack)
{
    LargeViewWindow& w = Window();
    const QRect plot = Plot();

    // Both axes: the values under the corners become the limits.
    const QPoint a = plot.topLeft() + QPoint(100, 50);
    const QPoint b = plot.topLeft() + QPoint(300, 250);
    const double x0 = w.ValueOfPixel(0, a.x()), x1 = w.ValueOfPixel(0, b.x());
    const double y0 = w.ValueOfPixel(1, b.y()), y1 = w.ValueOfPixel(1, a.y());
    Drag(a, b);
    ASSERT_TRUE(w.Zoomed());
    const ViewLimits both = w.ShownLimits();
    EXPECT_NEAR(both.Axes[0].Lower, x0, 1e-9);
    EXPECT_NEAR(both.Axes[0].Upper, x1, 1e-9);
    EXPECT_NEAR(both.Axes[1].Lower, y0, 1e-9);
    EXPECT_NEAR(both.Axes[1].Upper, y1, 1e-9);

    // Wide and flat: X only; tall and narrow: Y only.
    w.CurrentImage();
    const QRect zoomedPlot = PlotOf(w);
    Drag(zoomedPlot.topLeft() + QPoint(50, 100), zoomedPlot.topLeft() + QPoint(450, 110));
    const ViewLimits flat = w.ShownLimits();
    EXPECT_LT(flat.Axes[0].Upper - flat.Axes[0].Lower, both.Axes[0].Upper - both.Axes[0].Lower);
    EXPECT_EQ(flat.Axes[1].Lower, both.Axes[1].Lower);
    EXPECT_EQ(flat.Axes[1].Upper, both.Axes[1].Upper);
    w.CurrentImage();
    Drag(zoomedPlot.topLeft() + QPoint(100, 20), zoomedPlot.topLeft() + QPoint(108, 300));
    const ViewLimits tall = w.ShownLimits();
    EXPECT_EQ(tall.Axes[0].Lower, flat.Axes[0].Lower);
    EXPECT_EQ(tall.Axes[0].Upper, flat.Axes[0].Upper);
    EXPECT_LT(tall.Axes[1].Upper - tall.Axes[1].Lower, flat.Axes[1].Upper - flat.Axes[1].Lower);
    EXPECT_EQ(w.ZoomHistoryDepth(), 3u);

    // While zoomed, the main window's limits may change: the zoom stays.
    m_state.Axes[0] = {50, 10};
    w.Refresh();
    EXPECT_EQ(w.ShownLimits().Axes[0].Upper, tall.Axes[0].Upper);

    QTest::keyClick(&w, Qt::Key_Backspace);
    EXPECT_EQ(w.ShownLimits().Axes[1].Upper, flat.Axes[1].Upper);
    QTest::keyClick(&w, Qt::Key_Backspace);
    QTest::keyClick(&w, Qt::Key_Backspace);
    EXPECT_FALSE(w.Zoomed());
    EXPECT_EQ(w.ShownLimits().Axes[0].Upper, 50) << "unzoomed, it follows the main window";
    EXPECT_FALSE(w.ZoomBack());

    m_state.Axes[0] = {100, 0};
    w.ZoomTo(both);
    QTest::keyClick(&w, Qt::Key_Home);
    EXPECT_FALSE(w.Zoomed());
    w.CurrentImage();
    Drag(b, a);   // the same rectangle, dragged the other way
    EXPECT_NEAR(w.ShownLimits().Axes[0].Lower, both.Axes[0].Lower, 1e-9);
    EXPECT_NEAR(w.ShownLimits().Axes[1].Upper, both.Axes[1].Upper, 1e-9);
    QTest::keyClick(&w, Qt::Key_Home);
    w.ZoomTo(both);
    w.CurrentImage();
    QTest::mouseDClick(&w, Qt::LeftButton, {}, PlotOf(w).center());
    EXPECT_FALSE(w.Zoomed());
    QTest::keyClick(&w, Qt::Key_Backspace);
    EXPECT_TRUE(w.Zoomed()) << "a reset is a step of the history too";
}

// An X axis turned round in the main window stays turned round in a zoom.
TEST_F(Measuring, ZoomKeepsAnAxisThatRunsBackwards)
{
    m_state.Axes[0] = {0, 100};   // upper 0, lower 100: X grows to the left
    LargeViewWindow& w = Window();
    const QPoint a(qRound(w.PixelOfValue(0, 80)), qRound(w.PixelOfValue(1, 150)));
    const QPoint b(qRound(w.PixelOfValue(0, 30)), qRound(w.PixelOfValue(1, 50)));
    ASSERT_LT(a.x(), b.x());
    Drag(a, b);
    const ViewAxisLimits x = w.ShownLimits().Axes[0];
    EXPECT_NEAR(x.Lower, 80, 0.3);
    EXPECT_NEAR(x.Upper, 30, 0.3);
    w.ZoomAbout(QPointF(b), 0.5);
    EXPECT_GT(w.ShownLimits().Axes[0].Lower, w.ShownLimits().Axes[0].Upper);
    ASSERT_TRUE(w.PlaceCursor(0, 50));
    QTest::keyClick(&w, Qt::Key_Right, Qt::ShiftModifier);   // to the right is toward smaller X
    EXPECT_LT(*w.CursorX(0), 50);
}

TEST_F(Measuring, CtrlWheelZoomsAboutThePointerAndPlainWheelStepsFiles)
{
    LargeViewWindow& w = Window();
    int stepped = 0;
    w.WheelSteps = [&stepped](int delta) { stepped += delta; };
    const QPoint at = Plot().topLeft() + QPoint(200, 100);
    const double x = w.ValueOfPixel(0, at.x());
    const double y = w.ValueOfPixel(1, at.y());
    const double span = w.ShownLimits().Axes[0].Upper - w.ShownLimits().Axes[0].Lower;
    for (int i = 0; i < 3; ++i) {
        QWheelEvent wheel(at, w.mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::ControlModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(&w, &wheel);
    }
    w.CurrentImage();
    EXPECT_NEAR(w.ValueOfPixel(0, at.x()), x, span * 1e-6);
    EXPECT_NEAR(w.ValueOfPixel(1, at.y()), y, 1e-3);
    EXPECT_NEAR(w.ShownLimits().Axes[0].Upper - w.ShownLimits().Axes[0].Lower, span * std::pow(0.8, 3), 1e-9);
    EXPECT_EQ(w.ZoomHistoryDepth(), 1u) << "one run of turns, one step back";
    EXPECT_EQ(stepped, 0);

    QWheelEvent plain(at, w.mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                      false);
    QApplication::sendEvent(&w, &plain);
    EXPECT_EQ(stepped, -120);
}

TEST_F(Measuring, MiddleDragPansByWhatThePointerMoved)
{
    LargeViewWindow& w = Window();
    const QPoint from = Plot().center();
    const double before = w.ValueOfPixel(0, from.x());
    const ViewLimits start = w.ShownLimits();
    Drag(from, from + QPoint(-120, 0), Qt::MiddleButton);
    w.CurrentImage();
    // The value that was under the pointer is under it again.
    EXPECT_NEAR(w.ValueOfPixel(0, from.x() - 120), before, 0.2);
    EXPECT_NEAR(w.ShownLimits().Axes[1].Lower, start.Axes[1].Lower, 1e-6);
    EXPECT_EQ(w.ZoomHistoryDepth(), 1u);
}

TEST_F(Measuring, ZoomStopsAtAUsableWidthWithFiniteTicks)
{
    LargeViewWindow& w = Window();
    const QPoint at = Plot().center();
    for (int i = 0; i < 200; ++i)
        w.ZoomAbout(at, 0.25);
    const QImage image = w.CurrentImage();
    const ViewAxisLimits x = w.ShownLimits().Axes[0];
    EXPECT_TRUE(std::isfinite(x.Lower) && std::isfinite(x.Upper));
    EXPECT_GE(x.Upper - x.Lower, MinimumSpan(x.Lower, x.Upper) * 0.999);
    EXPECT_GT(x.Upper - x.Lower, 0);
    // Two values a pixel apart stay apart: no division by a zero span.
    EXPECT_LT(w.ValueOfPixel(0, at.x()), w.ValueOfPixel(0, at.x() + 1));

    // Near zero the floor is an absolute one.
    EXPECT_GE(SaneLimits({0, 0}).Upper - SaneLimits({0, 0}).Lower, kMinimumSpan);
    const ViewAxisLimits flipped = SaneLimits({5, 5});
    EXPECT_GT(flipped.Upper, flipped.Lower);
    for (int i = 0; i < 100; ++i)
        w.ZoomAbout(at, 16);
    EXPECT_TRUE(std::isfinite(w.ShownLimits().Axes[0].Upper - w.ShownLimits().Axes[0].Lower));
    EXPECT_FALSE(w.CurrentImage().isNull());
}

TEST(BoxZoomShape, FlatWideTallAndSquare)
{
    EXPECT_EQ(BoxZoomOf(300, 20), BoxZoom::XOnly);
    EXPECT_EQ(BoxZoomOf(-300, 20), BoxZoom::XOnly);
    EXPECT_EQ(BoxZoomOf(20, 300), BoxZoom::YOnly);
    EXPECT_EQ(BoxZoomOf(200, 150), BoxZoom::Both);
    EXPECT_EQ(BoxZoomOf(100, 20), BoxZoom::Both);
}

// A zoomed envelope of an X that never decreases reduces only the samples it
// shows, and gives the same pixels as reducing every sample.
TEST(ZoomedEnvelope, ReducesTheVisibleSamplesOnlyWithTheSamePixels)
{
    constexpr std::size_t kPoints = 1'000'000;
    std::vector<float> x(kPoints), y(kPoints);
    for (std::size_t i = 0; i < kPoints; ++i) {
        x[i] = float(i);
        y[i] = std::sin(float(i) * 0.01f) * 100 + float(i % 7);
    }
    TraceSlot slot;
    FillSlot(slot, "big.dat", x, y);
    const BlockExtremes blocks(y.data(), kPoints);
    ViewLimits limits;
    limits.Axes[1] = {-120, 120};
    const int width = 700, height = 300;
    for (const auto& [lo, hi] : {std::pair{1000.5, 1400.25}, std::pair{1000.3, 600000.0}, std::pair{2e6, 3e6}}) {
        limits.Axes[0] = {lo, hi};
        const auto part = ComputeEnvelope(slot, 1, limits, width, height, true);
        const auto whole = ComputeEnvelope(slot, 1, limits, width, height, false);
        EXPECT_EQ(whole->InputPoints, kPoints);
        const double visible = std::max(0.0, std::min(hi, 1e6) - std::max(lo, 0.0));
        EXPECT_LT(double(part->InputPoints), visible * 1.01 + 10);
        const auto columns = ComputeEnvelope(slot, 1, limits, width, height, true, &blocks);
        const QRect device(0, 0, width, height);
        const QImage expected = EnvelopeMask(whole->Points, device.size(), 1, device).toImage();
        EXPECT_EQ(EnvelopeMask(part->Points, device.size(), 1, device).toImage(), expected) << lo << ".." << hi;
        EXPECT_EQ(EnvelopeMask(columns->Points, device.size(), 1, device).toImage(), expected) << lo << ".." << hi;
    }
    // Narrow enough, the zoomed trace has fewer samples than the plot has
    // columns: every sample is drawn as itself.
    limits.Axes[0] = {1000, 1300};
    EXPECT_LT(ComputeEnvelope(slot, 1, limits, width, height, true)->InputPoints, std::size_t(width));
}

// Column by column through the blocks gives the pixels of point by point,
// also with repeated X, NaN gaps, infinities and columns of one point.
TEST(ZoomedEnvelope, ColumnReductionGivesThePixelsOfThePointReduction)
{
    std::vector<float> x, y;
    std::uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return float(seed >> 8) / float(1u << 24);
    };
    for (int i = 0; i < 200000; ++i) {
        x.push_back(float(i / 3) + (i > 150000 ? float(i - 150000) * 5 : 0));
        float v = next() * 200 - 100;
        if (i % 97 == 0)
            v = std::nanf("");
        else if (i % 7919 == 0)
            v = i % 2 ? HUGE_VALF : -HUGE_VALF;
        y.push_back(v);
    }
    for (int i = 1000; i < 1400; ++i)
        y[std::size_t(i)] = std::nanf("");   // a gap wider than a column
    const BlockExtremes blocks(y.data(), y.size());
    const QSize size(640, 240);
    const QRect device(QPoint(0, 0), size);
    for (const auto& [lo, hi] :
         {std::pair{0.0, 300000.0}, std::pair{-10.0, 2000.0}, std::pair{49990.0, 50020.5}, std::pair{150.25, 150.75}}) {
        const PixelMap mapX({lo, hi}, size.width(), false);
        const PixelMap mapY({-120, 120}, size.height(), true);
        const auto points = ReduceTrace(x.data(), y.data(), x.size(), mapX, mapY);
        const auto columns = ReduceSortedTrace(x.data(), y.data(), 0, x.size(), mapX, mapY, blocks);
        EXPECT_EQ(EnvelopeMask(columns, size, 1, device).toImage(), EnvelopeMask(points, size, 1, device).toImage())
            << lo << ".." << hi;
    }
}

TEST_F(Measuring, ClickPlacesACursorOnTheNearestSampleButADoubleClickDoesNot)
{
    LargeViewWindow& w = Window();
    const int interval = QGuiApplication::styleHints()->mouseDoubleClickInterval();
    const int x = qRound(w.PixelOfValue(0, 10.2));   // between the samples 10 and 10.5
    const QPoint at(x, Plot().center().y());
    QTest::mouseClick(&w, Qt::LeftButton, {}, at);
    EXPECT_FALSE(w.CursorX(0)) << "placed only once no second click can come";
    QTRY_VERIFY_WITH_TIMEOUT(w.CursorX(0).has_value(), interval + 2000);
    EXPECT_EQ(*w.CursorX(0), 10.0);

    QTest::mouseClick(&w, Qt::LeftButton, Qt::ShiftModifier, QPoint(qRound(w.PixelOfValue(0, 15.4)), at.y()));
    QTRY_VERIFY_WITH_TIMEOUT(w.CursorX(1).has_value(), interval + 2000);
    EXPECT_EQ(*w.CursorX(1), 15.5);
    EXPECT_EQ(w.ActiveCursor(), 1);

    w.ClearCursors();
    QTest::mouseDClick(&w, Qt::LeftButton, {}, at);
    QTest::qWait(interval + 100);
    EXPECT_FALSE(w.CursorX(0));
}

TEST_F(Measuring, ReadoutMarksInterpolatedValuesAndGivesDeltas)
{
    LargeViewWindow& w = Window();
    ASSERT_TRUE(w.PlaceCursor(0, 10.1));
    QStringList lines = w.CursorReadout();
    ASSERT_EQ(lines.size(), 4);   // A's X, then new.dat's Y1 and Y2 and old.dat's Y1
    EXPECT_EQ(lines[0], "A: X = 10");
    EXPECT_EQ(lines[1], "new.dat:column 1   A: 20");
    EXPECT_EQ(lines[2], "new.dat:column 2   A: -10");
    EXPECT_EQ(lines[3], QString::fromUtf8("old.dat:column 1   A: ≈11")) << lines[3].toStdString();

    ASSERT_TRUE(w.PlaceCursor(1, 12.4));
    lines = w.CursorReadout();
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[1], "B: X = 12.5");
    EXPECT_EQ(lines[2], QString::fromUtf8("ΔX = 2.5   1/ΔX = 0.4"));
    EXPECT_EQ(lines[3], QString::fromUtf8("new.dat:column 1   A: 20   B: 25   ΔY: 5"));
    EXPECT_EQ(lines[5], QString::fromUtf8("old.dat:column 1   A: ≈11   B: ≈13.5   ΔY: 2.5"));

    // Beyond the older file's last sample it has no value.
    ASSERT_TRUE(w.PlaceCursor(1, 99.95));
    EXPECT_TRUE(w.CursorReadout().last().endsWith(QString::fromUtf8("B: —   ΔY: —")))
        << w.CursorReadout().last().toStdString();
    ASSERT_TRUE(w.PlaceCursor(1, 10));
    EXPECT_TRUE(w.CursorReadout()[2].endsWith(QString::fromUtf8("1/ΔX = —")));
}

TEST_F(Measuring, KeysMoveTheActiveCursorBySampleOrByATenthOfTheView)
{
    LargeViewWindow& w = Window();
    ASSERT_TRUE(w.PlaceCursor(0, 20));
    QTest::keyClick(&w, Qt::Key_Right);
    EXPECT_EQ(*w.CursorX(0), 20.5);
    QTest::keyClick(&w, Qt::Key_Left);
    QTest::keyClick(&w, Qt::Key_Left);
    EXPECT_EQ(*w.CursorX(0), 19.5);
    QTest::keyClick(&w, Qt::Key_Right, Qt::ShiftModifier);   // a tenth of 0..100
    EXPECT_EQ(*w.CursorX(0), 29.5);
    ASSERT_TRUE(w.PlaceCursor(0, 0));
    QTest::keyClick(&w, Qt::Key_Left);
    EXPECT_EQ(*w.CursorX(0), 0) << "the first sample stays the first";

    // Dragging a cursor's line moves it; it is no box zoom.
    w.CurrentImage();
    const QPoint line(qRound(w.PixelOfValue(0, 0)), Plot().center().y());
    Drag(line + QPoint(1, 0), QPoint(qRound(w.PixelOfValue(0, 40)), line.y()));
    EXPECT_EQ(*w.CursorX(0), 40);
    EXPECT_FALSE(w.Zoomed());
}

TEST_F(Measuring, CursorsOnAnEmptyPlotDoNothing)
{
    m_state.Traces[0] = TraceSlot{};
    m_state.Traces[1] = TraceSlot{};
    m_state.DisplayedTraces = 0;
    LargeViewWindow& w = Window();
    EXPECT_FALSE(w.PlaceCursor(0, 5));
    QTest::keyClick(&w, Qt::Key_Right);
    EXPECT_FALSE(w.CursorX(0));
    EXPECT_TRUE(w.CursorReadout().isEmpty());
    EXPECT_TRUE(w.Statistics().empty());
}

TEST_F(Measuring, StatisticsPanelFollowsTheViewAndTheCursorsAndCopiesTsv)
{
    LargeViewWindow& w = Window();
    QMenu* menu = w.CreateContextMenu();
    menu->findChild<QAction*>("showStatistics")->trigger();
    delete menu;
    ASSERT_TRUE(w.StatisticsShown());
    w.CurrentImage();
    QTableWidget* table = w.StatisticsTable();
    ASSERT_EQ(table->rowCount(), 3);
    EXPECT_EQ(table->item(0, 0)->text(), "new.dat:column 1");
    EXPECT_EQ(table->item(0, 1)->text(), "201");
    EXPECT_EQ(table->item(0, 3)->text(), "200");

    ViewLimits limits = w.ShownLimits();
    limits.Axes[0] = {10, 20};
    w.ZoomTo(limits);
    EXPECT_EQ(table->item(0, 1)->text(), "21");   // 10, 10.5 ... 20
    EXPECT_EQ(table->item(0, 4)->text(), "30");   // mean of 20 .. 40

    ASSERT_TRUE(w.PlaceCursor(0, 15));
    ASSERT_TRUE(w.PlaceCursor(1, 12));
    EXPECT_EQ(w.StatisticsRange(), std::make_pair(12.0, 15.0));
    EXPECT_EQ(table->item(0, 1)->text(), "7");
    EXPECT_EQ(table->item(0, 2)->text(), "24");

    QApplication::clipboard()->clear();
    w.findChild<QPushButton*>("copyStatistics")->click();
    const QStringList lines = QApplication::clipboard()->text().split('\n');
    ASSERT_GE(lines.size(), 4);
    EXPECT_TRUE(lines[0].startsWith("trace\tpoints\tmin\tmax\tmean\trms\tstd"));
    EXPECT_TRUE(lines[1].startsWith("new.dat:column 1\t7\t24\t30\t27\t")) << lines[1].toStdString();
}

TEST_F(Measuring, ApplyingLimitsHandsThemOverAndFollowsAgain)
{
    LargeViewWindow& w = Window();
    std::optional<ViewLimits> applied;
    QMenu* menu = w.CreateContextMenu();
    EXPECT_FALSE(menu->findChild<QAction*>("applyLimits")->isEnabled()) << "nobody to hand them to";
    delete menu;
    w.ApplyLimits = [&applied](const ViewLimits& limits) { applied = limits; };
    ViewLimits limits = w.ShownLimits();
    limits.Axes[0] = {12.345678901, 13.5};
    w.ZoomTo(limits);
    menu = w.CreateContextMenu();
    menu->findChild<QAction*>("applyLimits")->trigger();
    delete menu;
    ASSERT_TRUE(applied);
    EXPECT_EQ(applied->Axes[0].Lower, 12.345678901);
    EXPECT_FALSE(w.Zoomed());
}

}   // namespace
