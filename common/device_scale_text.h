// Text drawn at the size it has on the device. Under a scaled painter (a
// device pixel ratio above 1) Qt renders a glyph at the unscaled size and
// scales the image, and a synthetic bold (a face without a bold weight, such
// as the Kai-style fallback) is then thickened by the unscaled amount: at
// ratio 2 it looks almost regular. Drawing with the scale taken out of the
// painter and the font enlarged instead keeps the bold as heavy as at ratio 1.
#pragma once

#include <QFont>
#include <QProxyStyle>
#include <QRectF>
#include <QString>

class QPainter;

namespace quorel {

// `font` enlarged `scale` times, for drawing without a scaling transform.
QFont fontAtScale(QFont font, qreal scale);

// As QPainter::drawText(rect, flags, text) and drawText(baseline, text).
void drawTextAtDeviceScale(QPainter& painter, const QRectF& rect, int flags, const QString& text);
void drawTextAtDeviceScale(QPainter& painter, const QPointF& baseline, const QString& text);

// A style whose item texts (button and label captions) in bold fonts are
// drawn at device scale.
class DeviceScaleTextStyle : public QProxyStyle {
    Q_OBJECT
  public:
    using QProxyStyle::QProxyStyle;
    void drawItemText(QPainter* painter, const QRect& rect, int flags, const QPalette& pal,
                      bool enabled, const QString& text,
                      QPalette::ColorRole textRole = QPalette::NoRole) const override;
};

}  // namespace quorel
