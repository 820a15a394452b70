// The rows view's cells and painting: texts from the run's numbers, the
// cell under a point, and the keys, wheel and tooltips that reach the view.
#include "table/rows_view.h"

#include <QCoreApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>

#include "common/failure.h"
#include "common/numtext.h"
#include "common/twips.h"
#include "table/cell_format.h"

namespace quorel::table_rows {
namespace {

const QColor kContentBack(0, 0, 192);
const QColor kMarkedBack(255, 200, 120);

// Row numbers are never drawn smaller than this; a longer one is shortened.
constexpr qreal kRowNumberFloorPoints = 7.0;

}  // namespace

QRectF twipsRectF(double left, double top, double width, double height) {
    return QRectF(twipsToDip(left), twipsToDip(top), twipsToDip(width), twipsToDip(height));
}

QRectF Content::cellRect(int column, long long row) const {
    return twipsRectF(kCellLeft[column], static_cast<double>(top + kPitch * row),
                      kCellWidth[column], static_cast<double>(kCellHeight));
}

CellValue Content::value(int column, long long row) const {
    if (column < 0 || column >= kColumns || row < 0 || row >= rows->size())
        return {0.0, FrmDSPDTA::kBlank};
    if (column == 0) return {static_cast<double>(row), 0};
    return rows->at(row, column - 1);
}

std::string Content::text(int column, long long row) const {
    const CellValue v = value(column, row);
    if (v.failure == FrmDSPDTA::kBlank) return {};
    if (column == 0) return std::to_string(row) + ".";
    if (v.failure != 0) return failureInfo(v.failure).cell;
    const CellKind kind = column == 3 ? CellKind::Slope : CellKind::Value;
    return quorel::cellText(v.value, decimalCount(v.value, kind));
}

FittedText fittedCell(const QFont& columnFont, int column, const QString& text,
                      const QPaintDevice* device) {
    return fittedText(columnFont, text, FrmDSPDTA::cellTextWidth(column),
                      column == 0 ? kRowNumberFloorPoints : 0.0, device);
}

RowsView::RowsView(const Content& content, QWidget* parent) : QWidget(parent), content_(content) {
    setObjectName("picOne");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

std::pair<int, long long> RowsView::cellAt(QPointF pos) const {
    const double x = pxToTwips(pos.x());
    const double y = pxToTwips(pos.y()) - static_cast<double>(content_.top);
    if (y < 0) return {-1, 0};
    const auto row = static_cast<long long>(y / kPitch);
    if (row >= content_.rowCount() || y - static_cast<double>(row * kPitch) >= kCellHeight)
        return {-1, 0};
    for (int c = 0; c < kColumns; ++c) {
        if (x >= kCellLeft[c] && x < kCellLeft[c] + kCellWidth[c]) return {c, row};
    }
    return {-1, 0};
}

bool RowsView::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(e);
        const auto [column, row] = cellAt(help->pos());
        const QString tip = column >= 0 && toolTip ? toolTip(column, row) : QString();
        if (tip.isEmpty()) {
            QToolTip::hideText();
            e->ignore();
        } else {
            QToolTip::showText(help->globalPos(), tip, this);
        }
        return true;
    }
    if (e->type() == QEvent::FocusIn || e->type() == QEvent::FocusOut) update();  // the frame
    return QWidget::event(e);
}

void RowsView::wheelEvent(QWheelEvent* e) {
    if (bar_ && bar_->isEnabled()) {
        QCoreApplication::sendEvent(bar_, e);
    } else {
        e->ignore();
    }
}

void RowsView::keyPressEvent(QKeyEvent* e) {
    const auto action = [e] {
        switch (e->key()) {
            case Qt::Key_Up:
                return QAbstractSlider::SliderSingleStepSub;
            case Qt::Key_Down:
                return QAbstractSlider::SliderSingleStepAdd;
            case Qt::Key_PageUp:
                return QAbstractSlider::SliderPageStepSub;
            case Qt::Key_PageDown:
                return QAbstractSlider::SliderPageStepAdd;
            case Qt::Key_Home:
                return QAbstractSlider::SliderToMinimum;
            case Qt::Key_End:
                return QAbstractSlider::SliderToMaximum;
            default:
                return QAbstractSlider::SliderNoAction;
        }
    }();
    if (action == QAbstractSlider::SliderNoAction || !bar_ || !bar_->isEnabled()) {
        QWidget::keyPressEvent(e);
        return;
    }
    bar_->triggerAction(action);
}

void RowsView::paintEvent(QPaintEvent* event) {
    dirty_ = false;
    QPainter p(this);
    p.fillRect(event->rect(), kContentBack);
    const QColor cellBack[kColumns] = {kContentBack, QColor(192, 255, 192),
                                       palette().color(QPalette::Window), QColor(192, 192, 255)};
    const QColor cellFore[kColumns] = {Qt::white, palette().color(QPalette::WindowText),
                                       palette().color(QPalette::WindowText),
                                       palette().color(QPalette::WindowText)};
    const long long shown = static_cast<long long>(pxToTwips(height()));
    const long long first = std::max(0LL, (-content_.top - kCellHeight) / kPitch);
    const long long last = std::min(content_.rowCount() - 1, (shown - content_.top) / kPitch);
    for (long long row = first; row <= last; ++row) {
        const bool marked = row == content_.marked;
        for (int c = 0; c < kColumns; ++c) {
            const QRectF cell = content_.cellRect(c, row);
            p.fillRect(cell, marked ? kMarkedBack : cellBack[c]);
            const QString text = QString::fromStdString(content_.text(c, row));
            if (text.isEmpty()) continue;
            p.setClipRect(cell);
            const FittedText fitted = fittedCell(fonts_[c], c, text, this);
            p.setFont(fitted.font);
            p.setPen(marked ? QColor(Qt::black) : cellFore[c]);
            p.drawText(cell.adjusted(kTextMargin, 0, -kTextMargin, 0),
                       Qt::AlignRight | Qt::AlignTop, fitted.text);
            p.setClipping(false);
        }
    }
    if (hasFocus()) {
        // Where the keys go: a frame of black and white dashes, seen on
        // the blue and on the cells alike.
        const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Qt::white, 1));
        p.drawRect(frame);
        p.setPen(QPen(Qt::black, 1, Qt::DashLine));
        p.drawRect(frame);
    }
}

}  // namespace quorel::table_rows
