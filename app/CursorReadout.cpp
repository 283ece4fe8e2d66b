// SPDX-License-Identifier: MIT
// The cursor cross that follows the mouse over the plot, its read-outs, and
// the red reference cursor.
#include "Unit1.h"

#include "AxisRanges.h"
#include "FormatText.h"
#include "GraphPainter.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

namespace {

bool InsidePlot(int x, int y)
{
    return x >= PlotRect.Left && x <= PlotRect.Left + PlotRect.Width && y >= PlotRect.Top &&
           y <= PlotRect.Top + PlotRect.Height;
}

QString Readout(double value)
{
    return QString::fromStdString(FormatText("%+.4g", value));
}

} // namespace

void TForm1::DisplayXY(int x, int y)
{
    if (!InsidePlot(x, y))
        return;
    CurrentX->setText(Readout(PixelToValueX(State, x)));
    QLineEdit* current[] = {CurrentY1, CurrentY2, CurrentY3};
    for (int k = 1; k <= 3; ++k)
        current[k - 1]->setText(Readout(PixelToValueY(State, k, y)));

    const AxisState& xAxis = State.Axes[0];
    DeltaX->setText(Readout(double(x - State.RedCursorX) / PlotRect.Width * (double(xAxis.Upper) - xAxis.Lower)));
    QLineEdit* delta[] = {DeltaY1, DeltaY2, DeltaY3};
    for (int k = 1; k <= 3; ++k) {
        const AxisState& axis = State.Axes[static_cast<std::size_t>(k)];
        delta[k - 1]->setText(
            Readout(double(State.RedCursorY - y) / PlotRect.Height * (double(axis.Upper) - axis.Lower)));
    }

    if (Cursor->isChecked() && State.GraphReady) {
        const QRect before(State.CursorX, State.CursorY, 1, 1);
        DrawCursorCross(State, Canvas());
        State.CursorX = x;
        State.CursorY = y;
        DrawCursorCross(State, Canvas());
        const QRect plot(PlotRect.Left, PlotRect.Top, PlotRect.Width + 1, PlotRect.Height + 1);
        for (const QRect& r : {before, QRect(x, y, 1, 1)}) {
            ShowPictureArea(QRect(r.x(), plot.top(), 1, plot.height()));
            ShowPictureArea(QRect(plot.left(), r.y(), plot.width(), 1));
        }
    }
}

void TForm1::SetRedCursor(int x, int y)
{
    if (!InsidePlot(x, y) || !Cursor->isChecked())
        return;
    for (QWidget* w : std::initializer_list<QWidget*>{DeltaX, L_DeltaX, DeltaY1, L_DeltaY1})
        w->show();
    DeltaY2->setVisible(State.NumYs() >= 2);
    DeltaY3->setVisible(State.NumYs() == 3);
    State.RedCursorX = x;
    State.RedCursorY = y;
    PaintGraph();
}

void TForm1::CursorClick()
{
    const QRect plot(PlotRect.Left, PlotRect.Top, PlotRect.Width + 1, PlotRect.Height + 1);
    if (Cursor->isChecked()) {
        for (QWidget* w : std::initializer_list<QWidget*>{CurrentX, L_CurrentX, CurrentY1, L_CurrentY1})
            w->show();
        CurrentY2->setVisible(State.NumYs() >= 2);
        CurrentY3->setVisible(State.NumYs() == 3);
        State.CursorX = PlotRect.Left + PlotRect.Width / 2;
        State.CursorY = PlotRect.Top + PlotRect.Height / 2;
        DrawCursorCross(State, Canvas());
        ShowPictureArea(plot);
        return;
    }
    for (QWidget* w : std::initializer_list<QWidget*>{CurrentX, L_CurrentX, CurrentY1, L_CurrentY1, CurrentY2, CurrentY3,
                                                       DeltaX, L_DeltaX, DeltaY1, L_DeltaY1, DeltaY2, DeltaY3})
        w->hide();
    if (State.CursorX >= 0) {
        DrawCursorCross(State, Canvas());
        State.CursorX = State.CursorY = State.RedCursorX = State.RedCursorY = -1;
        ShowPictureArea(plot);
    }
}

void TForm1::PlotMouseLeft()
{
    // The cross stays where the mouse left the plot, as it does when the
    // pointer moves on over the controls.
}
