#include "common/device_scale_text.h"

#include <QPainter>
#include <cmath>

namespace quorel {
namespace {

// The painter's uniform scale to device pixels, or 1 when it has none to take
// out (no scale, rotation or unequal axes).
qreal uniformDeviceScale(const QPainter& painter) {
    const QTransform t = painter.deviceTransform();
    if (t.isRotating() || t.type() == QTransform::TxProject) return 1.0;
    const qreal sx = std::abs(t.m11());
    const qreal sy = std::abs(t.m22());
    if (!(sx > 0) || std::abs(sx - sy) > 1e-3 * sx) return 1.0;
    return sx;
}

}  // namespace

QFont fontAtScale(QFont f, qreal s) {
    if (f.pointSizeF() > 0) {
        f.setPointSizeF(f.pointSizeF() * s);
    } else {
        f.setPixelSize(static_cast<int>(std::lround(f.pixelSize() * s)));
    }
    return f;
}

void drawTextAtDeviceScale(QPainter& painter, const QRectF& rect, int flags, const QString& text) {
    const qreal s = uniformDeviceScale(painter);
    if (std::abs(s - 1.0) < 1e-3) {
        painter.drawText(rect, flags, text);
        return;
    }
    painter.save();
    painter.setFont(fontAtScale(painter.font(), s));
    painter.scale(1 / s, 1 / s);
    painter.drawText(QRectF(rect.x() * s, rect.y() * s, rect.width() * s, rect.height() * s), flags,
                     text);
    painter.restore();
}

void drawTextAtDeviceScale(QPainter& painter, const QPointF& baseline, const QString& text) {
    const qreal s = uniformDeviceScale(painter);
    if (std::abs(s - 1.0) < 1e-3) {
        painter.drawText(baseline, text);
        return;
    }
    painter.save();
    painter.setFont(fontAtScale(painter.font(), s));
    painter.scale(1 / s, 1 / s);
    painter.drawText(baseline * s, text);
    painter.restore();
}

void DeviceScaleTextStyle::drawItemText(QPainter* painter, const QRect& rect, int flags,
                                        const QPalette& pal, bool enabled, const QString& text,
                                        QPalette::ColorRole textRole) const {
    if (!painter->font().bold() || text.isEmpty()) {
        QProxyStyle::drawItemText(painter, rect, flags, pal, enabled, text, textRole);
        return;
    }
    painter->save();
    if (textRole != QPalette::NoRole) {
        painter->setPen(QPen(pal.brush(textRole), painter->pen().widthF()));
    }
    drawTextAtDeviceScale(*painter, QRectF(rect), flags, text);
    painter->restore();
}

}  // namespace quorel
