// SPDX-License-Identifier: MIT
#include "DevicePicture.h"

#include "DeviceGrid.h"

#include <QImage>
#include <QPainter>

#include <cmath>

void DrawPictureArea(QPainter& painter, const QImage& picture, const QRect& area, const QPoint& widgetPos)
{
    const double ratio = picture.devicePixelRatio();
    const DeviceGrid grid{ratio};
    const QPoint pictureOrigin(grid.Edge(widgetPos.x()), grid.Edge(widgetPos.y()));
    const QTransform toDevice = painter.deviceTransform();
    const bool atPictureScale = toDevice.type() <= QTransform::TxScale && std::abs(toDevice.m11() - ratio) < 1e-9 &&
        std::abs(toDevice.m22() - ratio) < 1e-9;
    if (!atPictureScale) {
        // Drawn at some other scale (a render into a transformed painter):
        // the painter scales it.
        const QRectF source(QPointF(area.topLeft()) * ratio + QPointF(pictureOrigin), QSizeF(area.size()) * ratio);
        painter.drawImage(QRectF(area), picture, source);
        return;
    }
    // The widget's origin may fall between device pixels; the picture's
    // pixels stay on whole ones, and the clip keeps to the widget.
    const QPoint shift = toDevice.map(QPointF(0, 0)).toPoint() - pictureOrigin;
    const QRect source = toDevice.mapRect(QRectF(area)).toAlignedRect().translated(-shift).intersected(picture.rect());
    painter.save();
    painter.setWorldTransform(QTransform::fromTranslate(shift.x(), shift.y()) * toDevice.inverted());
    painter.drawImage(QRectF(source), picture, QRectF(source));
    painter.restore();
}
