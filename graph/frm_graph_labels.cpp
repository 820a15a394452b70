// Placement of the labels over the graph: the centre label and the view's
// centre, the X and Y axis labels, the outcome line and the pointer's
// coordinates.
#include "graph/frm_graph.h"

#include <QLabel>
#include <QtMath>
#include <algorithm>
#include <cmath>

#include "common/numtext.h"
#include "graph/axis_labels.h"
#include "graph/outcome_line.h"

namespace quorel {

void FrmGraph::showOutcome(const std::string& text) {
    outcome_->setOutcome(QString::fromStdString(text));
    placeOutcome();
    placeAxisLabels();
}

QString FrmGraph::outcomeText() const {
    return outcome_->isHidden() ? QString() : outcome_->text();
}

void FrmGraph::placeOutcome() {
    outcome_->place(QRectF(pic_->rect()).adjusted(2, 2, -2, -2 - bottomReserve_), centerLabelRect_);
}

QString FrmGraph::centerText() const {
    if (!viewCenter_->isHidden()) return viewCenter_->text();
    return framed_ ? QString::fromStdString(centerText_) : QString();
}

void FrmGraph::showViewCenter() {
    if (!framed_ || pic_->viewAtHome()) {
        viewCenter_->hide();
        placeOutcome();
        return;
    }
    const QPointF middle = QPointF(pic_->width(), pic_->height()) / 2;
    const QPointF u = pic_->shownUserAt(middle), u1 = pic_->shownUserAt(middle + QPointF(1, 1));
    const QPointF world = worldAt(u.x(), u.y()), step = worldAt(u1.x(), u1.y()) - world;
    // As many decimals as one pixel resolves.
    auto shown = [](double v, double perPixel) {
        const double d = std::ceil(-std::log10(std::fabs(perPixel)));
        return numberToText(
            roundHalfEven(v, std::isfinite(d) ? static_cast<int>(std::clamp(d, 0.0, 15.0)) : 0));
    };
    const std::string text =
        kCenterLabelHead + shown(world.x(), step.x()) + "," + shown(world.y(), step.y()) + ")";
    viewCenter_->setFont(pic_->PrintFont);
    viewCenter_->setText(QString::fromStdString(text));
    viewCenter_->adjustSize();
    // Where the label was printed, moved left as far as a longer text needs.
    const double right = pic_->width() - 4.0;
    const double left = std::max(2.0, std::min(centerPen_.x(), right - viewCenter_->width()));
    viewCenter_->move(qRound(left), qRound(centerPen_.y()));
    viewCenter_->show();
    viewCenter_->raise();
    outcome_->place(QRectF(pic_->rect()).adjusted(2, 2, -2, -2),
                    centerLabelRect_.united(QRectF(viewCenter_->geometry())));
}

void FrmGraph::placeAxisLabels() {
    if (!framed_) return;
    const QPointF xRight = pic_->toWidget(frame_.w, frame_.orgY);
    const QPointF yTop = pic_->toWidget(frame_.orgX, frame_.h);
    labX_->move(xLabelPlace(xRight, labX_->size(), pic_->size()));
    labY_->move(yLabelPlace(yTop, labY_->size(), pic_->size()));
    // An axis that has come down to the bottom brings its label onto the
    // centre label and the outcome line: the label then stands above them.
    QRectF below = viewCenter_->isHidden() ? centerLabelRect_ : QRectF(viewCenter_->geometry());
    if (!outcome_->isHidden()) below = below.united(QRectF(outcome_->geometry()));
    for (QLabel* label : {labX_, labY_}) {
        if (!QRectF(label->geometry()).intersects(below)) continue;
        label->move(label->x(), std::max(0, qFloor(below.top()) - label->height() - 1));
    }
}

void FrmGraph::placeCenterLabel(const std::string& text) {
    // The label keeps its place and size where it fits; otherwise it moves
    // left (or up), and only a surface too small for it at its size gets it
    // at the largest size that fits. Judged on the pixels it would colour.
    PlotSurface& s = *pic_;
    const QPointF border = s.toWidgetAtHome(s.ScaleLeft(), s.ScaleTop());
    const QSizeF inner(s.width() - 2 * border.x(), s.height() - 2 * border.y());
    constexpr double kMargin = 2.0;
    const QPointF pen = s.toWidgetAtHome(s.CurrentX, s.CurrentY) - border;
    QRectF ink = s.printedInk(text, pen);
    for (double pt = s.PrintFont.pointSizeF();
         pt > 1 && (ink.width() > inner.width() - 2 * kMargin ||
                    ink.height() > inner.height() - 2 * kMargin);) {
        pt = std::max(1.0, pt - 0.25);
        s.PrintFont.setPointSizeF(pt);
        ink = s.printedInk(text, pen);
    }
    auto shift = [&](double lo, double hi, double extent) {
        if (hi > extent - kMargin) return std::max(kMargin - lo, extent - kMargin - hi);
        if (lo < kMargin) return kMargin - lo;
        return 0.0;
    };
    const double dx = shift(ink.left(), ink.right(), inner.width());
    const double dy = shift(ink.top(), ink.bottom(), inner.height());
    const QPointF at = s.toUser(pen + QPointF(dx, dy) + border);
    if (dx != 0) s.CurrentX = at.x();
    if (dy != 0) s.CurrentY = at.y();
    centerLabelRect_ = ink.translated(border + QPointF(dx, dy));
}

void FrmGraph::placeLabel(QLabel* label, double left, double top) {
    const QPointF at = pic_->toWidgetAtHome(left, top);
    label->move(qRound(at.x()), qRound(at.y()));
}

QString FrmGraph::pointerText() const {
    return pointer_->isHidden() ? QString() : pointer_->text();
}

void FrmGraph::showPointer(QPointF widgetPos) {
    const QPointF u = pic_->shownUserAt(widgetPos);
    const QPointF u1 = pic_->shownUserAt(widgetPos + QPointF(1, 1));
    const QPointF world = worldAt(u.x(), u.y());
    const QPointF step = worldAt(u1.x(), u1.y()) - world;
    // As many decimals as one pixel resolves, at least the click's three.
    auto decimals = [](double perPixel) {
        const double d = std::ceil(-std::log10(std::fabs(perPixel)));
        return std::isfinite(d) ? static_cast<int>(std::clamp(d, 3.0, 15.0)) : 3;
    };
    if (!std::isfinite(world.x()) || !std::isfinite(world.y())) {
        pointer_->hide();
        return;
    }
    pointer_->setText(QString::fromStdString(
        "x=" + numberToText(roundHalfEven(world.x(), decimals(step.x()))) +
        "  y=" + numberToText(roundHalfEven(world.y(), decimals(step.y())))));
    pointer_->adjustSize();
    // The top left corner, or the top right one should the centre label
    // reach up there; never over the label.
    QRect r(QPoint(2, 2), pointer_->size());
    if (r.intersects(centerLabelRect_.toAlignedRect()))
        r.moveTopRight(QPoint(pic_->width() - 3, 2));
    if (r.intersects(centerLabelRect_.toAlignedRect())) {
        pointer_->hide();
        return;
    }
    pointer_->move(r.topLeft());
    pointer_->show();
    pointer_->raise();
}

}  // namespace quorel
