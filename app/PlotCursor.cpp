// SPDX-License-Identifier: MIT
#include "PlotCursor.h"

#include "AxisRanges.h"
#include "FormatText.h"
#include "GraphPainter.h"

#include <QLabel>
#include <QLineEdit>

#include <initializer_list>
#include <utility>

namespace {

// Four significant digits and the sign always shown: +12.35, +0.0001235, +1.235e+05.
constexpr const char* kReadoutFormat = "%+.4g";

bool InsidePlot(int x, int y)
{
    return x >= PlotRect.Left && x <= PlotRect.Left + PlotRect.Width && y >= PlotRect.Top &&
        y <= PlotRect.Top + PlotRect.Height;
}

QString Readout(double value)
{
    return QString::fromStdString(FormatText(kReadoutFormat, value));
}

// The plot rectangle with its right and bottom frame lines, where the cross
// can reach.
const QRect kCrossArea(PlotRect.Left, PlotRect.Top, PlotRect.Width + 1, PlotRect.Height + 1);

void SetShown(std::initializer_list<QWidget*> widgets, bool shown)
{
    for (QWidget* w : widgets)
        w->setVisible(shown);
}

// The logical pixels over a line at logical x drawn on the grid, first and
// count. Above ratio 1 a pixel more on each side: Qt rounds the logical area
// to device pixels on its own.
std::pair<int, int> ShownSpan(const DeviceGrid& grid, int x)
{
    if (grid.Identity())
        return {x, 1};
    const int first = grid.CellOf(grid.LineStart(x)) - 1;
    return {first, grid.CellOf(grid.LineEnd(x) - 1) + 2 - first};
}

}   // namespace

PlotCursor::PlotCursor(PlotState& state, RasterCanvas& canvas, ReadoutWidgets widgets,
                       std::function<void(const QRect&)> showArea, std::function<void()> paint)
    : m_state(state), m_canvas(canvas), m_w(widgets), m_showArea(std::move(showArea)), m_paint(std::move(paint))
{
}

// The column and the row of a cross at (x, y), the only pixels it changes.
void PlotCursor::ShowCrossLines(int x, int y)
{
    const DeviceGrid grid = m_canvas.Grid();
    const auto [left, columns] = ShownSpan(grid, x);
    const auto [top, rows] = ShownSpan(grid, y);
    m_showArea(QRect(left, kCrossArea.top(), columns, kCrossArea.height()));
    m_showArea(QRect(kCrossArea.left(), top, kCrossArea.width(), rows));
}

void PlotCursor::Move(int x, int y, bool cursorOn)
{
    if (!InsidePlot(x, y))
        return;
    m_w.CurrentX->setText(Readout(PixelToValueX(m_state, x)));
    QLineEdit* current[] = {m_w.CurrentY1, m_w.CurrentY2, m_w.CurrentY3};
    for (int k = 1; k <= 3; ++k)
        current[k - 1]->setText(Readout(PixelToValueY(m_state, k, y)));

    const AxisState& xAxis = m_state.Axes[0];
    m_w.DeltaX->setText(Readout(double(x - m_state.RedCursorX) / PlotRect.Width * (double(xAxis.Upper) - xAxis.Lower)));
    QLineEdit* delta[] = {m_w.DeltaY1, m_w.DeltaY2, m_w.DeltaY3};
    for (int k = 1; k <= 3; ++k) {
        const AxisState& axis = m_state.Axes[static_cast<std::size_t>(k)];
        delta[k - 1]->setText(
            Readout(double(m_state.RedCursorY - y) / PlotRect.Height * (double(axis.Upper) - axis.Lower)));
    }

    // Not while a paint is under way or the options dialog is open: a cross
    // inverted into that picture could not be erased by the next move.
    if (cursorOn && m_state.GraphReady) {
        const int oldX = m_state.CursorX;
        const int oldY = m_state.CursorY;
        DrawCursorCross(m_state, m_canvas);   // erases the cross where it stands
        m_state.CursorX = x;
        m_state.CursorY = y;
        DrawCursorCross(m_state, m_canvas);
        ShowCrossLines(oldX, oldY);
        ShowCrossLines(x, y);
    }
}

void PlotCursor::SetRed(int x, int y, bool cursorOn)
{
    if (!InsidePlot(x, y) || !cursorOn)
        return;
    SetShown({m_w.DeltaX, m_w.L_DeltaX, m_w.DeltaY1, m_w.L_DeltaY1}, true);
    // Shown for the Ys in use; one that was shown before stays, since only a
    // load or clearing the Cursor box hides the differences.
    if (m_state.NumYs() >= 2)
        m_w.DeltaY2->show();
    if (m_state.NumYs() == 3)
        m_w.DeltaY3->show();
    m_state.RedCursorX = x;
    m_state.RedCursorY = y;
    m_paint();
}

void PlotCursor::Switch(bool on)
{
    if (on) {
        ShowCurrent();
        m_w.CurrentY2->setVisible(m_state.NumYs() >= 2);
        m_w.CurrentY3->setVisible(m_state.NumYs() == 3);
        m_state.CursorX = PlotRect.Left + PlotRect.Width / 2;
        m_state.CursorY = PlotRect.Top + PlotRect.Height / 2;
        DrawCursorCross(m_state, m_canvas);
        ShowCrossLines(m_state.CursorX, m_state.CursorY);
        return;
    }
    HideAll();
    // The red lines stay on the screen until the next paint, which no
    // longer draws them.
    if (m_state.CursorX >= 0) {
        const int oldX = m_state.CursorX;
        const int oldY = m_state.CursorY;
        DrawCursorCross(m_state, m_canvas);
        m_state.CursorX = m_state.CursorY = m_state.RedCursorX = m_state.RedCursorY = kNoCursor;
        ShowCrossLines(oldX, oldY);
    }
}

void PlotCursor::HideDifferences()
{
    SetShown({m_w.DeltaX, m_w.L_DeltaX, m_w.DeltaY1, m_w.L_DeltaY1, m_w.DeltaY2, m_w.DeltaY3}, false);
}

void PlotCursor::HideAll()
{
    SetShown({m_w.CurrentX, m_w.L_CurrentX, m_w.CurrentY1, m_w.L_CurrentY1, m_w.CurrentY2, m_w.CurrentY3}, false);
    HideDifferences();
}

void PlotCursor::ShowCurrent()
{
    SetShown({m_w.CurrentX, m_w.L_CurrentX, m_w.CurrentY1, m_w.L_CurrentY1}, true);
}

void PlotCursor::ShowCurrentOfAxis(int axis, bool visible)
{
    if (axis == 2)
        m_w.CurrentY2->setVisible(visible);
    else if (axis == 3)
        m_w.CurrentY3->setVisible(visible);
}
