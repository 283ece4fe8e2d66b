// SPDX-License-Identifier: MIT
#include "PlotView.h"

#include "DevicePicture.h"
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
    // Above ratio 1 the position names a device pixel; it points at the
    // logical pixel drawn over that device pixel, so the read-outs and the
    // cross agree with the picture.
    const DeviceGrid grid = m_form->Canvas().Grid();
    const QPointF client = local + QPointF(pos());
    return {grid.CellOf(qRound(client.x() * grid.Ratio)), grid.CellOf(qRound(client.y() * grid.Ratio))};
}

void PlotView::paintEvent(QPaintEvent* event)
{
    m_form->FollowDeviceRatio();
    QPainter painter(this);
    DrawPictureArea(painter, m_form->Picture(), event->rect(), pos());
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
