#include "graph/outcome_line.h"

#include <algorithm>

namespace quorel {
namespace {

constexpr int kMargin = 2;
// The line wraps rather than reach farther left than this share of the surface.
constexpr int kWidestShare = 80;

}  // namespace

OutcomeLine::OutcomeLine(QWidget* surface) : QLabel(surface) {
    setObjectName("outcomeLine");
    QFont small("Liberation Sans");
    small.setPointSizeF(8);
    setFont(small);
    setWordWrap(true);
    setTextFormat(Qt::PlainText);
    setStyleSheet(
        "QLabel { background: rgba(255, 255, 255, 210); color: #000000; "
        "padding: 0px 2px; }");
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void OutcomeLine::setOutcome(const QString& text) {
    setText(text);
    if (text.isEmpty()) {
        hide();
        return;
    }
    place(inner_, avoid_);
    QLabel::show();
}

void OutcomeLine::place(const QRectF& inner, const QRectF& avoid) {
    inner_ = inner;
    avoid_ = avoid;
    const QRect area = inner.toAlignedRect().adjusted(kMargin, kMargin, -kMargin, -kMargin);
    if (area.width() <= 0 || area.height() <= 0) return;
    // Right-aligned just above the centre label: the left of the graph may
    // lie under the table window.
    const QRect label = avoid.toAlignedRect();
    const int bottom = label.isEmpty() ? area.bottom() : label.top() - kMargin - 1;
    // One line as long as it fits: its text, the padding of 2 on each side, a pixel spare.
    const int natural = fontMetrics().horizontalAdvance(text()) + 5;
    const int width = std::min(natural, area.width() * kWidestShare / 100);
    const int height = heightForWidth(width);
    setGeometry(area.right() - width + 1, std::max(area.top(), bottom - height + 1), width, height);
}

}  // namespace quorel
