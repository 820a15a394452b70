#include "graph/outcome_line.h"

#include <algorithm>

namespace quorel {
namespace {

constexpr int kMargin = 2;
// The line wraps rather than reach farther left than this share of the surface.
constexpr int kWidestShare = 80;

}  // namespace

void styleOverlayLabel(QLabel& label, const char* colour) {
    QFont small("Liberation Sans");
    small.setPointSizeF(8);
    label.setFont(small);
    label.setStyleSheet(
        QString("QLabel { background: rgba(255, 255, 255, 210); color: %1; padding: 0px 2px; }")
            .arg(QLatin1String(colour)));
    label.setAttribute(Qt::WA_TransparentForMouseEvents);
}

OutcomeLine::OutcomeLine(QWidget* surface) : QLabel(surface) {
    setObjectName("outcomeLine");
    styleOverlayLabel(*this, "#000000");
    setWordWrap(true);
    setTextFormat(Qt::PlainText);
    hide();
}

void OutcomeLine::setOutcome(const QString& text) {
    setText(text);
    setVisible(!text.isEmpty());
}

void OutcomeLine::place(const QRectF& inner, const QRectF& avoid) {
    const QRect area = inner.toAlignedRect().adjusted(kMargin, kMargin, -kMargin, -kMargin);
    if (area.width() <= 0 || area.height() <= 0) return;
    // Right-aligned just above the centre label: the left of the graph may
    // lie under the table window.
    const QRect label = avoid.toAlignedRect();
    const int bottom = label.isEmpty() ? area.bottom() : label.top() - kMargin - 1;
    // One line as long as it fits: the narrowest width that lays the text
    // out as on an unbounded one, up to the widest share.
    const int widest = area.width() * kWidestShare / 100;
    const int oneLine = heightForWidth(QWIDGETSIZE_MAX / 2);
    int width = std::min(fontMetrics().horizontalAdvance(text()), widest);
    while (width < widest && heightForWidth(width) > oneLine) width = std::min(widest, width + 4);
    const int height = heightForWidth(width);
    setGeometry(area.right() - width + 1, std::max(area.top(), bottom - height + 1), width, height);
}

}  // namespace quorel
