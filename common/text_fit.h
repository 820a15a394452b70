// Fitting a one-line text into a fixed-width box: the largest point size, no
// larger than the box's own, at which the whole text fits with at least one
// pixel of the box's background on each side.
#pragma once

#include <QFont>
#include <QString>

class QLabel;
class QPaintDevice;

namespace quorel {

// Background kept free on each side of a fitted text, in device-independent
// pixels: at least one device pixel at every device pixel ratio.
inline constexpr qreal kTextMargin = 1.0;

// Advance width of `text` in `font` as drawn on `device` (its logical DPI).
qreal textAdvance(const QFont& font, const QString& text, const QPaintDevice* device);

// `font` itself when `text` fits `width`, else the same font at the largest
// point size at which it fits. `width` is what the text may use, margins
// already taken off.
QFont fittedFont(const QFont& font, const QString& text, qreal width, const QPaintDevice* device);

// `text` made to fit `width` in `font` or a smaller size, never below
// `floorPoints`: a text too wide even at the floor is cut on the left behind
// an ellipsis ("\u2026456789."), which keeps the digits that tell neighbours apart.
struct FittedText {
    QFont font;
    QString text;
};
FittedText fittedText(const QFont& font, const QString& text, qreal width, qreal floorPoints,
                      const QPaintDevice* device);

// Gives `label` its design font when its text fits its width less
// kTextMargin on each side, else a smaller one, with the text kept
// kTextMargin inside the label's edges.
void fitLabelText(QLabel* label, const QFont& designFont);

}  // namespace quorel
