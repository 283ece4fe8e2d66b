// SPDX-License-Identifier: MIT
#include "PlotView.h"

#include "Unit1.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

PlotView::PlotView(TForm1* form) : QWidget(form), m_form(form)
{
    setObjectName(QStringLiteral("PlotView"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

QPoint PlotView::ClientPoint(const QPointF& local) const
{
    return local.toPoint() + pos();
}

void PlotView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect area = event->rect();
    painter.drawImage(area, m_form->Picture(), area.translated(pos()));
}

void PlotView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = ClientPoint(event->position());
    m_form->Guarded([&] { m_form->DisplayXY(p.x(), p.y()); });
}

void PlotView::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = ClientPoint(event->position());
    m_form->Guarded([&] { m_form->SetRedCursor(p.x(), p.y()); });
}

void PlotView::wheelEvent(QWheelEvent* event)
{
    m_form->WheelTurned(event->angleDelta().y());
    event->accept();
}

void PlotView::leaveEvent(QEvent* event)
{
    m_form->Guarded([&] { m_form->PlotMouseLeft(); });
    QWidget::leaveEvent(event);
}
