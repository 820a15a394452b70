#include "graph/outcome_line.h"

#include <algorithm>

namespace quorel {
namespace {

constexpr int kMargin = 2;
// Below this width the line goes above the centre label instead of beside it.
constexpr int kNarrowest = 120;

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
    const QRect label = avoid.toAlignedRect();
    // Beside the label, left of it, when that leaves room; otherwise across
    // the surface above it.
    int right = area.right();
    int bottom = area.bottom();
    if (!label.isEmpty() && label.bottom() >= area.bottom() - fontMetrics().height() * 3) {
        if (label.left() - kMargin - area.left() >= kNarrowest) {
            right = label.left() - kMargin - 1;
        } else {
            bottom = label.top() - kMargin - 1;
        }
    }
    const int width = std::min(sizeHint().width(), right - area.left() + 1);
    const int height = heightForWidth(width);
    setGeometry(area.left(), std::max(area.top(), bottom - height + 1), width, height);
}

}  // namespace quorel
