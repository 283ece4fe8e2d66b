// SPDX-License-Identifier: MIT
// Putting the window's picture on the screen pixel for pixel. The picture is
// held at the screen's device pixel ratio; Qt would place the plot, a child
// at (70, 1), at a fractional device offset at 1.5 and resample the picture,
// shifting or blurring its one-pixel lines.
#pragma once

#include <QRect>

class QImage;
class QPainter;

// Draws the part of the window's picture under `area` (the painting widget's
// logical pixels; the widget lies at `widgetPos` in the window) so that each
// picture pixel lands on one device pixel.
void DrawPictureArea(QPainter& painter, const QImage& picture, const QRect& area, const QPoint& widgetPos);
