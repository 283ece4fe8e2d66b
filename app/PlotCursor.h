// SPDX-License-Identifier: MIT
// The cursor cross that follows the mouse over the plot, the red reference
// cursor, and the read-outs with their visibility. The cross is drawn and
// erased by inverting pixels of the window's picture, so following the mouse
// never repaints the plot; the red cursor is drawn by the painter.
#pragma once

#include "Canvas.h"
#include "PlotState.h"

#include <QRect>

#include <functional>

class QLabel;
class QLineEdit;
class QWidget;

struct ReadoutWidgets {
    QLineEdit* CurrentX = nullptr;
    QLineEdit* CurrentY1 = nullptr;
    QLineEdit* CurrentY2 = nullptr;
    QLineEdit* CurrentY3 = nullptr;
    QLineEdit* DeltaX = nullptr;
    QLineEdit* DeltaY1 = nullptr;
    QLineEdit* DeltaY2 = nullptr;
    QLineEdit* DeltaY3 = nullptr;
    QLabel* L_CurrentY1 = nullptr;
    QLabel* L_CurrentX = nullptr;
    QLabel* L_DeltaY1 = nullptr;
    QLabel* L_DeltaX = nullptr;
};

class PlotCursor {
public:
    // showArea puts a part of the picture (client pixels) on the screen;
    // paint redraws the whole plot (PaintGraph).
    PlotCursor(PlotState& state, RasterCanvas& canvas, ReadoutWidgets widgets,
               std::function<void(const QRect&)> showArea, std::function<void()> paint);

    // A mouse move in client pixels: read-outs, and the cross when on and the
    // picture is ready. Outside the plot nothing changes.
    void Move(int x, int y, bool cursorOn);
    // A press inside the plot with the cursor on sets the red cursor and repaints.
    void SetRed(int x, int y, bool cursorOn);
    // The Cursor box changed.
    void Switch(bool on);
    // After a load: the red cursor is gone, so are its differences.
    void HideDifferences();
    // The no-data layout hides every read-out; the data layout shows the
    // current values when the cursor is on.
    void HideAll();
    void ShowCurrent();
    // Y2 and Y3 read-outs follow their axes while the cursor is on.
    void ShowCurrentOfAxis(int axis, bool visible);

private:
    void ShowCrossLines(int x, int y);

    PlotState& m_state;
    RasterCanvas& m_canvas;
    ReadoutWidgets m_w;
    std::function<void(const QRect&)> m_showArea;
    std::function<void()> m_paint;
};
