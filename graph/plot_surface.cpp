// Drawing calls are only recorded, already clipped and in image pixels; the
// record is painted into the retained image with one painter when the image is
// next needed (repaint, image(), pixelAt, Cls) or when it grows long.
#include "graph/plot_surface.h"

#include <qdrawutil.h>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QVarLengthArray>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "common/twips.h"
#include "graph/single_precision.h"

namespace quorel {
namespace {

constexpr int kBorderDip = 2;
constexpr std::size_t kMaxPending = 1 << 16;
// Beyond this radius (pixels) a circle is drawn as its visible arc.
constexpr double kLargeRadiusPx = 1e5;
constexpr int kArcSegments = 256;
// Text anchored farther out than this (pixels) cannot show.
constexpr double kTextReachPx = 1e6;

int pixelIndex(double u, int extent) {
    return std::clamp(static_cast<int>(std::floor(u)), 0, extent - 1);
}

// The other coordinate where the segment meets `edge` on its first axis,
// interpolated from the end nearer that edge so that a far end does not swamp
// a near one.
double meet(double a1, double b1, double a2, double b2, double edge) {
    if (std::fabs(edge - a1) <= std::fabs(edge - a2))
        return b1 + (b2 - b1) * ((edge - a1) / (a2 - a1));
    return b2 + (b1 - b2) * ((edge - a2) / (a1 - a2));
}

// Liang-Barsky against [0, w] x [0, h]; an end moved onto an edge lies on it
// exactly. False when nothing of the segment is left.
bool clipSegment(double& u1, double& v1, double& u2, double& v2, double w, double h) {
    const double du = u2 - u1;
    const double dv = v2 - v1;
    const double p[4] = {-du, du, -dv, dv};
    const double q[4] = {u1, w - u1, v1, h - v1};
    const double edges[4] = {0.0, w, 0.0, h};
    double t0 = 0.0, t1 = 1.0;
    int e0 = -1, e1 = -1;
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0) {
            if (t > t1) return false;
            if (t > t0) t0 = t, e0 = i;
        } else {
            if (t < t0) return false;
            if (t < t1) t1 = t, e1 = i;
        }
    }
    const double ou1 = u1, ov1 = v1, ou2 = u2, ov2 = v2;
    auto moveTo = [&](int edge, double& u, double& v) {
        if (edge < 2) {
            u = edges[edge];
            v = std::clamp(meet(ou1, ov1, ou2, ov2, u), 0.0, h);
        } else {
            v = edges[edge];
            u = std::clamp(meet(ov1, ou1, ov2, ou2, v), 0.0, w);
        }
    };
    if (e0 >= 0) moveTo(e0, u1, v1);
    if (e1 >= 0) moveTo(e1, u2, v2);
    return true;
}

}  // namespace

PlotSurface::PlotSurface(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSizeF PlotSurface::innerDip() const {
    return QSizeF(std::max(0, width() - 2 * kBorderDip), std::max(0, height() - 2 * kBorderDip));
}

double PlotSurface::ScaleLeft() const {
    return scaleLeft_;
}
double PlotSurface::ScaleTop() const {
    return scaleTop_;
}
double PlotSurface::ScaleWidth() const {
    return twipMode_ ? pxToTwips(innerDip().width()) : scaleWidth_;
}
double PlotSurface::ScaleHeight() const {
    return twipMode_ ? pxToTwips(innerDip().height()) : scaleHeight_;
}

void PlotSurface::leaveTwipMode() {
    if (!twipMode_) return;
    scaleWidth_ = ScaleWidth();
    scaleHeight_ = ScaleHeight();
    twipMode_ = false;
}

void PlotSurface::setScaleLeft(double v) {
    leaveTwipMode();
    scaleLeft_ = v;
}
void PlotSurface::setScaleTop(double v) {
    leaveTwipMode();
    scaleTop_ = v;
}
void PlotSurface::setScaleWidth(double v) {
    leaveTwipMode();
    scaleWidth_ = v;
}
void PlotSurface::setScaleHeight(double v) {
    leaveTwipMode();
    scaleHeight_ = v;
}

void PlotSurface::Scale(double x1, double y1, double x2, double y2) {
    twipMode_ = false;
    scaleLeft_ = x1;
    scaleTop_ = y1;
    scaleWidth_ = x2 - x1;
    scaleHeight_ = y2 - y1;
}

PlotSurface::Mapping PlotSurface::currentMapping() const {
    return {ScaleLeft(), ScaleTop(), ScaleWidth(), ScaleHeight(), innerDip()};
}

PlotSurface::DeviceMap PlotSurface::deviceMap() const {
    DeviceMap m{ScaleLeft(), ScaleTop(), 0.0, 0.0, image_.width(), image_.height(), false};
    m.kx = m.w / ScaleWidth();
    m.ky = m.h / ScaleHeight();
    m.drawable = m.w > 0 && m.h > 0 && std::isfinite(m.kx) && std::isfinite(m.ky);
    return m;
}

QPointF PlotSurface::toWidget(double x, double y) const {
    const QSizeF inner = innerDip();
    return QPointF(kBorderDip + (x - ScaleLeft()) / ScaleWidth() * inner.width(),
                   kBorderDip + (y - ScaleTop()) / ScaleHeight() * inner.height());
}

QPointF PlotSurface::toUser(QPointF widgetPos) const {
    const QSizeF inner = innerDip();
    return QPointF(ScaleLeft() + (widgetPos.x() - kBorderDip) / inner.width() * ScaleWidth(),
                   ScaleTop() + (widgetPos.y() - kBorderDip) / inner.height() * ScaleHeight());
}

void PlotSurface::ensureImage() {
    const double dpr = devicePixelRatioF();
    const QSizeF inner = innerDip();
    const QSize want(qRound(inner.width() * dpr), qRound(inner.height() * dpr));
    if (image_.size() == want && dpr == imageDpr_) return;
    flushPending();
    // The drawing keeps its place at the top left; it is neither rescaled nor erased.
    QImage next(want, QImage::Format_RGB32);
    if (!next.isNull()) {
        next.fill(BackColor);
        next.setDotsPerMeterX(qRound(logicalDpiX() / 0.0254));
        next.setDotsPerMeterY(qRound(logicalDpiY() / 0.0254));
        if (!image_.isNull()) {
            QPainter p(&next);
            const double k = dpr / imageDpr_;
            p.drawImage(QRectF(0, 0, image_.width() * k, image_.height() * k), image_);
        }
    }
    image_ = next;
    imageDpr_ = dpr;
}

void PlotSurface::record(Op op) {
    pending_.push_back(std::move(op));
    drawn_ = currentMapping();
    if (pending_.size() >= kMaxPending) flushPending();
    if (!updateRequested_) {
        updateRequested_ = true;
        update();
    }
}

void PlotSurface::addSegmentPx(double u1, double v1, double u2, double v2, const DeviceMap& m,
                               QRgb rgb) {
    for (double c : {u1, v1, u2, v2})
        if (!std::isfinite(c)) return;
    if (!clipSegment(u1, v1, u2, v2, m.w, m.h)) return;
    record(LineOp{QPoint(pixelIndex(u1, m.w), pixelIndex(v1, m.h)),
                  QPoint(pixelIndex(u2, m.w), pixelIndex(v2, m.h)), rgb});
}

void PlotSurface::addLine(double x1, double y1, double x2, double y2, QRgb rgb) {
    ensureImage();
    const DeviceMap m = deviceMap();
    if (!m.drawable) return;
    addSegmentPx((x1 - m.left) * m.kx, (y1 - m.top) * m.ky, (x2 - m.left) * m.kx,
                 (y2 - m.top) * m.ky, m, rgb);
}

void PlotSurface::Line(double x1, double y1, double x2, double y2, QColor color) {
    const double sx1 = toSingle(x1), sy1 = toSingle(y1);
    const double sx2 = toSingle(x2), sy2 = toSingle(y2);
    addLine(sx1, sy1, sx2, sy2, color.rgb());
    CurrentX = sx2;
    CurrentY = sy2;
}

void PlotSurface::LineTo(double x, double y, QColor color) {
    Line(CurrentX, CurrentY, x, y, color);
}

void PlotSurface::Circle(double cx, double cy, double radius, QColor color) {
    const double x = toSingle(cx), y = toSingle(cy), r = toSingle(radius);
    CurrentX = x;
    CurrentY = y;
    ensureImage();
    const DeviceMap m = deviceMap();
    if (!m.drawable) return;
    const double u = (x - m.left) * m.kx, v = (y - m.top) * m.ky;
    const double rpx = std::fabs(r * m.kx);
    if (!std::isfinite(u) || !std::isfinite(v) || !std::isfinite(rpx)) return;
    if (u + rpx < 0 || u - rpx > m.w || v + rpx < 0 || v - rpx > m.h) return;
    const double farU = std::max(std::fabs(u), std::fabs(m.w - u));
    const double farV = std::max(std::fabs(v), std::fabs(m.h - v));
    if (std::hypot(farU, farV) < rpx - 1.0) return;  // the whole area lies inside
    if (rpx <= kLargeRadiusPx) {
        record(EllipseOp{QPointF(u - 0.5, v - 0.5), rpx, color.rgb()});
        return;
    }
    // The centre lies outside the area: the corners bound the visible arc.
    const double toMid = std::atan2(m.h / 2.0 - v, m.w / 2.0 - u);
    double lo = 0.0, hi = 0.0;
    for (const auto& [cu, cv] : {std::pair{0.0, 0.0},
                                 {double(m.w), 0.0},
                                 {0.0, double(m.h)},
                                 {double(m.w), double(m.h)}}) {
        double a = std::atan2(cv - v, cu - u) - toMid;
        a = std::remainder(a, 2 * std::numbers::pi);
        lo = std::min(lo, a);
        hi = std::max(hi, a);
    }
    double pu = 0, pv = 0;
    for (int i = 0; i <= kArcSegments; ++i) {
        const double a = toMid + lo + (hi - lo) * i / kArcSegments;
        const double nu = u + rpx * std::cos(a), nv = v + rpx * std::sin(a);
        if (i > 0) addSegmentPx(pu, pv, nu, nv, m, color.rgb());
        pu = nu;
        pv = nv;
    }
}

void PlotSurface::Print(const std::string& text) {
    ensureImage();
    const QFontMetricsF fm(PrintFont, this);
    const DeviceMap m = deviceMap();
    if (m.drawable) {
        const double u = (CurrentX - m.left) * m.kx, v = (CurrentY - m.top) * m.ky;
        if (std::fabs(u) < kTextReachPx && std::fabs(v) < kTextReachPx) {
            record(TextOp{QPointF(u / imageDpr_, v / imageDpr_ + fm.ascent()),
                          QString::fromStdString(text), PrintFont, ForeColor.rgb()});
        }
    }
    const double innerH = innerDip().height();
    CurrentX = ScaleLeft();
    if (innerH > 0) CurrentY += fm.lineSpacing() / innerH * ScaleHeight();
}

void PlotSurface::Cls() {
    pending_.clear();
    ensureImage();
    image_.fill(BackColor);
    drawn_.reset();
    update();
}

void PlotSurface::flushPending() {
    if (pending_.empty()) return;
    if (image_.isNull()) {
        pending_.clear();
        return;
    }
    QPainter p(&image_);
    p.setRenderHint(QPainter::Antialiasing, false);
    const int penWidth = std::max(1, qRound(imageDpr_));
    auto usePen = [&](QRgb rgb) {
        QPen pen{QColor(rgb), double(penWidth)};
        pen.setCosmetic(true);
        p.setPen(pen);
    };
    QVarLengthArray<QLine, 256> lines;
    std::size_t i = 0;
    while (i < pending_.size()) {
        if (const auto* line = std::get_if<LineOp>(&pending_[i])) {
            // Consecutive lines of one colour go to the painter together.
            const QRgb rgb = line->rgb;
            lines.clear();
            for (; i < pending_.size(); ++i) {
                const auto* l = std::get_if<LineOp>(&pending_[i]);
                if (!l || l->rgb != rgb) break;
                lines.append(QLine(l->a, l->b));
            }
            usePen(rgb);
            p.drawLines(lines.constData(), int(lines.size()));
            continue;
        }
        if (const auto* e = std::get_if<EllipseOp>(&pending_[i])) {
            usePen(e->rgb);
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(e->centre, e->radius, e->radius);
        } else if (const auto* t = std::get_if<TextOp>(&pending_[i])) {
            p.save();
            p.scale(imageDpr_, imageDpr_);
            p.setFont(t->font);
            p.setPen(QColor(t->rgb));
            p.drawText(t->baselineDip, t->text);
            p.restore();
        }
        ++i;
    }
    pending_.clear();
}

QImage PlotSurface::image() {
    ensureImage();
    flushPending();
    QImage img = image_;
    img.setDevicePixelRatio(imageDpr_);
    return img;
}

QColor PlotSurface::pixelAt(double x, double y) {
    ensureImage();
    flushPending();
    const DeviceMap m = deviceMap();
    if (!m.drawable) return QColor();
    const double u = (x - m.left) * m.kx, v = (y - m.top) * m.ky;
    if (!(u >= 0 && u <= m.w && v >= 0 && v <= m.h)) return QColor();
    return QColor(image_.pixel(pixelIndex(u, m.w), pixelIndex(v, m.h)));
}

void PlotSurface::paintEvent(QPaintEvent*) {
    updateRequested_ = false;
    ensureImage();
    flushPending();
    QPainter p(this);
    qDrawShadePanel(&p, rect(), palette(), true, kBorderDip);
    p.drawImage(QRectF(QPointF(kBorderDip, kBorderDip), innerDip()), image_);
}

void PlotSurface::resizeEvent(QResizeEvent* e) {
    ensureImage();
    QWidget::resizeEvent(e);
}

void PlotSurface::mousePressEvent(QMouseEvent* e) {
    // Clicks read the drawing the user sees, which keeps its coordinates
    // until it is cleared, even when the surface has been resized since.
    const Mapping m = drawn_ ? *drawn_ : currentMapping();
    if (m.innerDip.width() <= 0 || m.innerDip.height() <= 0) return;
    const QPointF pos = e->position();
    const double x = m.left + (pos.x() - kBorderDip) / m.innerDip.width() * m.width;
    const double y = m.top + (pos.y() - kBorderDip) / m.innerDip.height() * m.height;
    emit mouseDown(x, y, e->button());
}

}  // namespace quorel
