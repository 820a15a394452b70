// The surface's view and input: zooming, panning, going home and fitting a
// box, the wheel, the keys and the mouse, and stepping through a replay.
#include "graph/plot_surface.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <cmath>

namespace quorel {
namespace {

// An arrow key moves the view by this share of the inner area.
constexpr double kPanShare = 0.1;

}  // namespace

void PlotSurface::stepReplay(int step) {
    const long long n = passCount();
    if (n == 0) return;
    const long long k = std::max(0LL, (replay_ < 0 ? n - 1 : replay_) + step);
    if (k >= n) {
        leaveReplay();
        return;
    }
    if (k == replay_) return;
    replay_ = k;
    invalidateImage();
    emit replayPassChanged(k);
}

void PlotSurface::leaveReplay() {
    if (replay_ < 0) return;
    replay_ = -1;
    invalidateImage();
    emit replayPassChanged(-1);
}

QPointF PlotSurface::shownUserAt(QPointF widgetPos) const {
    // The drawing the user sees keeps its coordinates until it is cleared,
    // even when the surface has been resized since.
    return shownMapping().toUser(widgetPos - QPointF(kBorderDip, kBorderDip));
}

void PlotSurface::mousePressEvent(QMouseEvent* e) {
    leaveReplay();
    const UserFrame f = shownMapping().frame();
    if (f.inner.width() <= 0 || f.inner.height() <= 0) return;
    const QPointF u = shownUserAt(e->position());
    emit mouseDown(u.x(), u.y(), e->button());
}

void PlotSurface::notePointer(QPointF widgetPos) {
    pointer_ = widgetPos;
    emit pointerMoved(widgetPos);
}

void PlotSurface::mouseMoveEvent(QMouseEvent* e) {
    notePointer(e->position());
    QWidget::mouseMoveEvent(e);
}

void PlotSurface::leaveEvent(QEvent* e) {
    pointer_.reset();
    emit pointerLeft();
    QWidget::leaveEvent(e);
}

void PlotSurface::zoomAt(QPointF widgetPos, double fx, double fy) {
    leaveReplay();
    mapping_.zoomAbout(widgetPos - QPointF(kBorderDip, kBorderDip), fx, fy);
    invalidateImage();
    emit viewChanged();
    if (pointer_) notePointer(*pointer_);
}

void PlotSurface::panBy(double dx, double dy) {
    leaveReplay();
    mapping_.pan(dx, dy);
    invalidateImage();
    emit viewChanged();
    if (pointer_) notePointer(*pointer_);
}

void PlotSurface::homeView() {
    leaveReplay();
    mapping_.home();
    invalidateImage();
    emit viewChanged();
    if (pointer_) notePointer(*pointer_);
}

void PlotSurface::fitView(double x1, double y1, double x2, double y2, double margin) {
    leaveReplay();
    mapping_.setFrame(currentFrame());
    const QSizeF inner = innerDip();
    mapping_.fit(x1, y1, x2, y2,
                 QRectF(QPointF(0, 0), inner).adjusted(margin, margin, -margin, -margin));
    invalidateImage();
    emit viewChanged();
    if (pointer_) notePointer(*pointer_);
}

void PlotSurface::wheelEvent(QWheelEvent* e) {
    const double notches = e->angleDelta().y() / 120.0;
    if (notches == 0.0) {
        e->ignore();
        return;
    }
    const double f = std::pow(kZoomStep, notches);
    if (e->modifiers() & Qt::ControlModifier)
        zoomAt(e->position(), 1.0, f);
    else
        zoomAt(e->position(), f, f);
    e->accept();
}

void PlotSurface::keyPressEvent(QKeyEvent* e) {
    const QSizeF inner = innerDip();
    const QPointF centre =
        QPointF(kBorderDip, kBorderDip) + QPointF(inner.width(), inner.height()) / 2;
    const bool yOnly = e->modifiers() & Qt::ControlModifier;
    const double dx = inner.width() * kPanShare, dy = inner.height() * kPanShare;
    switch (e->key()) {
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            zoomAt(centre, yOnly ? 1.0 : kZoomStep, kZoomStep);
            break;
        case Qt::Key_Minus:
            zoomAt(centre, yOnly ? 1.0 : 1 / kZoomStep, 1 / kZoomStep);
            break;
        case Qt::Key_Left:
            panBy(dx, 0);
            break;
        case Qt::Key_Right:
            panBy(-dx, 0);
            break;
        case Qt::Key_Up:
            panBy(0, dy);
            break;
        case Qt::Key_Down:
            panBy(0, -dy);
            break;
        case Qt::Key_Home:
            homeView();
            break;
        default:
            QWidget::keyPressEvent(e);
            return;
    }
    e->accept();
}

}  // namespace quorel
