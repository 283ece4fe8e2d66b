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

// Two files: the newest with X every 0.5, Y1 = 2 X and Y2 = -X; an older one
// with X every 0.3 and Y1 = X + 1, its samples between the newest file's.
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
            ViewOptions options;
            options.ShowLegend = false;   // it would take presses meant for the plot
            m_window->SetOptions(options);
            m_window->show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
        }
        m_window->CurrentImage();
        return *m_window;
    }

    // A point of the plot by its values of X and Y1.
    QPoint At(double x, double y1)
    {
        return QPoint(qRound(Window().PixelOfValue(0, x)), qRound(m_window->PixelOfValue(1, y1)));
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
    // Both axes, dragged either way: the values under the corners.
    Drag(At(20, 150), At(60, 50));
    const ViewLimits both = w.ShownLimits();
    EXPECT_NEAR(both.Axes[0].Lower, 20, 0.2);
    EXPECT_NEAR(both.Axes[0].Upper, 60, 0.2);
    EXPECT_NEAR(both.Axes[1].Lower, 50, 0.5);
    EXPECT_NEAR(both.Axes[1].Upper, 150, 0.5);
    ASSERT_TRUE(w.ZoomBack());
    Drag(At(60, 50), At(20, 150));
    EXPECT_NEAR(w.ShownLimits().Axes[0].Lower, both.Axes[0].Lower, 1e-9);
    EXPECT_NEAR(w.ShownLimits().Axes[1].Upper, both.Axes[1].Upper, 1e-9);

    // Wide and flat: X only; tall and narrow: Y only.
    Drag(At(30, 100), At(50, 99));
    EXPECT_NEAR(w.ShownLimits().Axes[0].Lower, 30, 0.2);
    EXPECT_EQ(w.ShownLimits().Axes[1].Upper, both.Axes[1].Upper);
    const ViewLimits flat = w.ShownLimits();
    Drag(At(40, 120), At(40.1, 80));
    EXPECT_EQ(w.ShownLimits().Axes[0].Lower, flat.Axes[0].Lower);
    EXPECT_NEAR(w.ShownLimits().Axes[1].Lower, 80, 0.5);

    // While zoomed the main window's limits may change; unzoomed it follows them.
    m_state.Axes[0] = {50, 10};
    w.Refresh();
    EXPECT_EQ(w.ShownLimits().Axes[0].Lower, flat.Axes[0].Lower);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(&w, Qt::Key_Backspace);
    EXPECT_FALSE(w.Zoomed());
    EXPECT_EQ(w.ShownLimits().Axes[0].Upper, 50);
    EXPECT_FALSE(w.ZoomBack());

    w.ZoomTo(both);
    QTest::keyClick(&w, Qt::Key_Home);
    EXPECT_FALSE(w.Zoomed());
    w.ZoomTo(both);
    QTest::mouseDClick(&Window(), Qt::LeftButton, {}, At(30, 100));
    EXPECT_FALSE(w.Zoomed());
    QTest::keyClick(&w, Qt::Key_Backspace);
    EXPECT_TRUE(w.Zoomed()) << "a reset is a step of the history too";
}

TEST_F(Measuring, CtrlWheelZoomsAboutThePointerAndTheMiddleButtonPans)
{
    LargeViewWindow& w = Window();
    int stepped = 0;
    w.WheelSteps = [&stepped](int delta) { stepped += delta; };
    const QPoint at = At(30, 60);
    const double x = w.ValueOfPixel(0, at.x());
    auto turn = [&](Qt::KeyboardModifiers modifiers, int delta) {
        QWheelEvent wheel(at, w.mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, modifiers, Qt::NoScrollPhase,
                          false);
        QApplication::sendEvent(&w, &wheel);
    };
    for (int i = 0; i < 3; ++i)
        turn(Qt::ControlModifier, 120);
    Window();
    EXPECT_NEAR(w.ValueOfPixel(0, at.x()), x, 1e-4);
    EXPECT_NEAR(w.ShownLimits().Axes[0].Upper - w.ShownLimits().Axes[0].Lower, 100 * std::pow(0.8, 3), 1e-9);
    EXPECT_EQ(w.ZoomHistoryDepth(), 1u) << "one run of turns, one step back";
    turn(Qt::NoModifier, -120);
    EXPECT_EQ(stepped, -120) << "the plain wheel steps files";

    // The value under the pointer moves with it.
    Drag(at, at + QPoint(-120, 0), Qt::MiddleButton);
    Window();
    EXPECT_NEAR(w.ValueOfPixel(0, at.x() - 120), x, 0.2);
    EXPECT_EQ(w.ZoomHistoryDepth(), 2u);
}

TEST_F(Measuring, ZoomStopsAtAUsableWidthAndKeepsAnAxisThatRunsBackwards)
{
    LargeViewWindow& w = Window();
    const QPoint at = At(50, 100);
    for (int i = 0; i < 200; ++i)
        w.ZoomAbout(at, 0.25);
    const ViewAxisLimits x = w.ShownLimits().Axes[0];
    EXPECT_GE(x.Upper - x.Lower, MinimumSpan(x.Lower, x.Upper) * 0.999);
    EXPECT_LT(w.ValueOfPixel(0, at.x()), w.ValueOfPixel(0, at.x() + 1)) << "no zero span";
    for (int i = 0; i < 100; ++i)
        w.ZoomAbout(at, 16);
    EXPECT_TRUE(std::isfinite(w.ShownLimits().Axes[0].Upper - w.ShownLimits().Axes[0].Lower));
    EXPECT_FALSE(w.CurrentImage().isNull());

    w.ResetZoom();
    m_state.Axes[0] = {0, 100};   // upper 0, lower 100: X grows to the left
    Drag(At(80, 150), At(30, 50));
    EXPECT_NEAR(w.ShownLimits().Axes[0].Lower, 80, 0.3);
    EXPECT_NEAR(w.ShownLimits().Axes[0].Upper, 30, 0.3);
    ASSERT_TRUE(w.PlaceCursor(0, 50));
    QTest::keyClick(&w, Qt::Key_Right, Qt::ShiftModifier);   // to the right is toward smaller X
    EXPECT_LT(*w.CursorX(0), 50);
}

// A zoomed envelope of an X that never decreases, reduced column by column
// over the visible samples only, gives the pixels of reducing every point:
// also with repeated X, NaN gaps, infinities and samples just outside.
TEST(ZoomedEnvelope, VisibleColumnsGiveThePixelsOfEveryPoint)
{
    std::vector<float> x, y;
    std::uint32_t seed = 12345;
    for (int i = 0; i < 300000; ++i) {
        seed = seed * 1664525u + 1013904223u;
        x.push_back(float(i / 3) + (i > 250000 ? float(i - 250000) * 5 : 0));
        y.push_back(i % 97 == 0 ? std::nanf("") : i % 7919 == 0 ? HUGE_VALF : float(seed >> 8) / 83886.08f - 100);
    }
    for (std::size_t i = 1000; i < 1400; ++i)
        y[i] = std::nanf("");   // a gap wider than a column
    TraceSlot slot;
    FillSlot(slot, "big.dat", x, y);
    const BlockExtremes blocks(y.data(), y.size());
    ViewLimits limits;
    limits.Axes[1] = {-120, 120};
    const QSize size(640, 240);
    const QRect device(QPoint(0, 0), size);
    for (const auto& [lo, hi] :
         {std::pair{0.0, 400000.0}, std::pair{1000.3, 60000.0}, std::pair{300.5, 400.25}, std::pair{2e6, 3e6}}) {
        limits.Axes[0] = {lo, hi};
        const auto columns = ComputeEnvelope(slot, 1, limits, size.width(), size.height(), true, &blocks);
        const auto whole = ComputeEnvelope(slot, 1, limits, size.width(), size.height(), false);
        EXPECT_EQ(EnvelopeMask(columns->Points, size, 1, device).toImage(),
                  EnvelopeMask(whole->Points, size, 1, device).toImage())
            << lo << ".." << hi;
    }
    // Narrow enough, fewer samples than columns: each drawn as itself.
    EXPECT_LT(ComputeEnvelope(slot, 1, limits, size.width(), size.height(), true)->InputPoints, 10u);
}

TEST_F(Measuring, ClickPlacesACursorOnTheNearestSampleButADoubleClickDoesNot)
{
    LargeViewWindow& w = Window();
    const int interval = QGuiApplication::styleHints()->mouseDoubleClickInterval();
    QTest::mouseClick(&w, Qt::LeftButton, {}, At(10.2, 100));   // between the samples 10 and 10.5
    EXPECT_FALSE(w.CursorX(0)) << "placed only once no second click can come";
    QTRY_VERIFY_WITH_TIMEOUT(w.CursorX(0).has_value(), interval + 2000);
    EXPECT_EQ(*w.CursorX(0), 10.0);
    QTest::mouseClick(&w, Qt::LeftButton, Qt::ShiftModifier, At(15.4, 100));
    QTRY_VERIFY_WITH_TIMEOUT(w.CursorX(1).has_value(), interval + 2000);
    EXPECT_EQ(*w.CursorX(1), 15.5);

    w.ClearCursors();
    QTest::mouseDClick(&w, Qt::LeftButton, {}, At(10.2, 100));
    QTest::qWait(interval + 100);
    EXPECT_FALSE(w.CursorX(0));
}

TEST_F(Measuring, ReadoutMarksInterpolatedValuesAndGivesDeltas)
{
    LargeViewWindow& w = Window();
    ASSERT_TRUE(w.PlaceCursor(0, 10.1));
    ASSERT_EQ(w.CursorReadout(),
              (QStringList{"A: X = 10", "new.dat:column 1   A: 20", "new.dat:column 2   A: -10",
                           QString::fromUtf8("old.dat:column 1   A: ≈11")}));
    ASSERT_TRUE(w.PlaceCursor(1, 12.4));
    const QStringList lines = w.CursorReadout();
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[2], QString::fromUtf8("ΔX = 2.5   1/ΔX = 0.4"));
    EXPECT_EQ(lines[3], QString::fromUtf8("new.dat:column 1   A: 20   B: 25   ΔY: 5"));
    EXPECT_EQ(lines[5], QString::fromUtf8("old.dat:column 1   A: ≈11   B: ≈13.5   ΔY: 2.5"));
    // Beyond the older file's last sample it has no value.
    ASSERT_TRUE(w.PlaceCursor(1, 99.95));
    EXPECT_TRUE(w.CursorReadout().last().endsWith(QString::fromUtf8("B: —   ΔY: —")));
    ASSERT_TRUE(w.PlaceCursor(1, 10));
    EXPECT_TRUE(w.CursorReadout()[2].endsWith(QString::fromUtf8("1/ΔX = —")));
}

TEST_F(Measuring, KeysAndDragsMoveTheActiveCursor)
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
    Drag(At(0, 100) + QPoint(1, 0), At(40, 100));
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
    QTableWidget* table = w.StatisticsTable();
    ASSERT_EQ(table->rowCount(), 3);
    EXPECT_EQ(table->item(0, 0)->text(), "new.dat:column 1");
    EXPECT_EQ(table->item(0, 1)->text(), "201");

    ViewLimits limits = w.ShownLimits();
    limits.Axes[0] = {10, 20};
    w.ZoomTo(limits);
    Window();                                     // the next picture
    EXPECT_EQ(table->item(0, 1)->text(), "21");   // 10, 10.5 ... 20
    EXPECT_EQ(table->item(0, 4)->text(), "30");   // mean of 20 .. 40
    ASSERT_TRUE(w.PlaceCursor(0, 15));
    ASSERT_TRUE(w.PlaceCursor(1, 12));
    EXPECT_EQ(table->item(0, 1)->text(), "7");   // between B and A

    QApplication::clipboard()->clear();
    w.findChild<QPushButton*>("copyStatistics")->click();
    const QStringList lines = QApplication::clipboard()->text().split('\n');
    ASSERT_GE(lines.size(), 4);
    EXPECT_TRUE(lines[0].startsWith("trace\tpoints\tmin\tmax\tmean\trms\tstd"));
    EXPECT_TRUE(lines[1].startsWith("new.dat:column 1\t7\t24\t30\t27\t")) << lines[1].toStdString();
}

}   // namespace
