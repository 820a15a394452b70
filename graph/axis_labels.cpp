#include "graph/axis_labels.h"

#include <algorithm>
#include <cmath>

#include "common/twips.h"
#include "graph/plot_surface.h"

namespace quorel {
namespace {

QPoint inside(double left, double top, QSize label, QSize surface) {
    const double maxLeft = std::max(0, surface.width() - label.width());
    const double maxTop = std::max(0, surface.height() - label.height());
    return QPoint(static_cast<int>(std::lround(std::clamp(left, 0.0, maxLeft))),
                  static_cast<int>(std::lround(std::clamp(top, 0.0, maxTop))));
}

}  // namespace

QPoint xLabelPlace(QPointF xAxisRight, QSize label, QSize surface) {
    // At home the axis ends at the inner edge: 390 twips left of the
    // surface's outer edge, 380 twips below the axis.
    return inside(xAxisRight.x() + twipsToDip(PlotSurface::kBorderTwips - 390),
                  xAxisRight.y() + twipsToDip(380), label, surface);
}

QPoint yLabelPlace(QPointF yAxisTop, QSize label, QSize surface) {
    // 530 twips left of the axis; at home at the surface's top.
    return inside(yAxisTop.x() - twipsToDip(530),
                  yAxisTop.y() - twipsToDip(PlotSurface::kBorderTwips), label, surface);
}

}  // namespace quorel
