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

// The plot rectangle with its right and bottom frame lines, where the cross
// can reach.
const QRect kCrossArea(PlotRect.Left, PlotRect.Top, PlotRect.Width + 1, PlotRect.Height + 1);

// The column and the row of a cross at (x, y), the only pixels it changes.
void ShowCrossLines(TForm1& form, int x, int y)
{
    form.ShowPictureArea(QRect(x, kCrossArea.top(), 1, kCrossArea.height()));
    form.ShowPictureArea(QRect(kCrossArea.left(), y, kCrossArea.width(), 1));
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

    // Not while a paint is under way or the options dialog is open: a cross
    // inverted into that picture could not be erased by the next move.
    if (Cursor->isChecked() && State.GraphReady) {
        const int oldX = State.CursorX;
        const int oldY = State.CursorY;
        DrawCursorCross(State, Canvas());   // erases the cross where it stands
        State.CursorX = x;
        State.CursorY = y;
        DrawCursorCross(State, Canvas());
        ShowCrossLines(*this, oldX, oldY);
        ShowCrossLines(*this, x, y);
    }
}

void TForm1::SetRedCursor(int x, int y)
{
    if (!InsidePlot(x, y) || !Cursor->isChecked())
        return;
    for (QWidget* w : std::initializer_list<QWidget*>{DeltaX, L_DeltaX, DeltaY1, L_DeltaY1})
        w->show();
    // Shown for the Ys in use; one that was shown before stays, since only a
    // load or clearing the Cursor box hides the differences.
    if (State.NumYs() >= 2)
        DeltaY2->show();
    if (State.NumYs() == 3)
        DeltaY3->show();
    State.RedCursorX = x;
    State.RedCursorY = y;
    PaintGraph();
}

void TForm1::CursorClick()
{
    if (Cursor->isChecked()) {
        for (QWidget* w : std::initializer_list<QWidget*>{CurrentX, L_CurrentX, CurrentY1, L_CurrentY1})
            w->show();
        CurrentY2->setVisible(State.NumYs() >= 2);
        CurrentY3->setVisible(State.NumYs() == 3);
        State.CursorX = PlotRect.Left + PlotRect.Width / 2;
        State.CursorY = PlotRect.Top + PlotRect.Height / 2;
        DrawCursorCross(State, Canvas());
        ShowCrossLines(*this, State.CursorX, State.CursorY);
        return;
    }
    for (QWidget* w : std::initializer_list<QWidget*>{CurrentX, L_CurrentX, CurrentY1, L_CurrentY1, CurrentY2, CurrentY3,
                                                       DeltaX, L_DeltaX, DeltaY1, L_DeltaY1, DeltaY2, DeltaY3})
        w->hide();
    // The red lines stay on the screen until the next paint, which no
    // longer draws them.
    if (State.CursorX >= 0) {
        const int oldX = State.CursorX;
        const int oldY = State.CursorY;
        DrawCursorCross(State, Canvas());
        State.CursorX = State.CursorY = State.RedCursorX = State.RedCursorY = -1;
        ShowCrossLines(*this, oldX, oldY);
    }
}

void TForm1::PlotMouseLeft()
{
    // The cross stays where the mouse left the plot, like the read-outs, so
    // it still marks the place whose values they show. Nothing is drawn here,
    // so the next move inside erases the cross exactly where it stands.
}
