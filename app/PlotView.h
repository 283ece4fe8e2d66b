// SPDX-License-Identifier: MIT
// The plot area as a child widget of its own: mouse moves over the other
// controls never reach the window, so the plot tracks the mouse itself and
// hands moves, presses, wheel turns and leaving to the window's handlers in
// client pixels. It shows its part of the window's picture.
#pragma once

#include <QWidget>

class TForm1;

class PlotView : public QWidget {
    Q_OBJECT

public:
    explicit PlotView(TForm1* form);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QPoint ClientPoint(const QPointF& local) const;

    TForm1* m_form;
};
