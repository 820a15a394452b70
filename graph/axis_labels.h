// Where the "X" and "Y" labels stand on the drawing surface (its pixels):
// "X" below the right end of the x axis, "Y" left of the top end of the y
// axis, at the distances of the window's layout, so that they follow their
// axes through zoom, pan and resize. A label is always whole inside the
// surface: one whose axis has left the view waits at the edge it left by.
#pragma once

#include <QPoint>
#include <QPointF>
#include <QSize>

namespace quorel {

// xAxisRight: the right end of the x axis; yAxisTop: the top end of the y
// axis; both in the surface's pixels, as shown.
QPoint xLabelPlace(QPointF xAxisRight, QSize label, QSize surface);
QPoint yLabelPlace(QPointF yAxisTop, QSize label, QSize surface);

}  // namespace quorel
