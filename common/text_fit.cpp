#include "common/text_fit.h"

#include <QFontMetricsF>
#include <QLabel>

namespace quorel {

qreal textAdvance(const QFont& font, const QString& text, const QPaintDevice* device) {
    return QFontMetricsF(font, device).horizontalAdvance(text);
}

QFont fittedFont(const QFont& font, const QString& text, qreal width, const QPaintDevice* device) {
    qreal advance = textAdvance(font, text, device);
    if (advance <= width || text.isEmpty()) return font;
    QFont f = font;
    const qreal designSize = font.pointSizeF() > 0 ? font.pointSizeF() : 12.0;
    // Widths grow almost in proportion to the size; hinting makes the first
    // guess a little off, so step down until the text fits.
    qreal size = designSize * width / advance;
    for (int i = 0; i < 200 && size > 0.5; ++i) {
        f.setPointSizeF(size);
        advance = textAdvance(f, text, device);
        if (advance <= width) return f;
        size *= 0.99;
    }
    f.setPointSizeF(0.5);
    return f;
}

FittedText fittedText(const QFont& font, const QString& text, qreal width, qreal floorPoints,
                      const QPaintDevice* device) {
    QFont f = fittedFont(font, text, width, device);
    if (f.pointSizeF() >= floorPoints) return {f, text};
    f.setPointSizeF(floorPoints);
    return {f, QFontMetricsF(f, device).elidedText(text, Qt::ElideLeft, width)};
}

void fitLabelText(QLabel* label, const QFont& designFont) {
    const qreal width = label->width() - 2 * kTextMargin;
    if (textAdvance(designFont, label->text(), label) <= width) {
        label->setFont(designFont);
        return;
    }
    label->setIndent(0);
    label->setMargin(0);
    const int inset = static_cast<int>(kTextMargin);
    label->setContentsMargins(inset, 0, inset, 0);
    label->setFont(fittedFont(designFont, label->text(), width, label));
}

}  // namespace quorel
