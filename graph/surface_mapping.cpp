#include "graph/surface_mapping.h"

#include <algorithm>
#include <cmath>

namespace quorel {
namespace {

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

}  // namespace

bool clipSegment(double& u1, double& v1, double& u2, double& v2, double w, double h) {
    auto inside = [&](double u, double v) { return u >= 0 && u <= w && v >= 0 && v <= h; };
    if (inside(u1, v1) && inside(u2, v2)) return true;
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

void SurfaceMapping::setDevice(QSize pixels, double dpr) {
    device_ = pixels;
    dpr_ = dpr;
    rescale();
}

void SurfaceMapping::rescale() {
    kx_ = frame_.inner.width() * dpr_ / frame_.width;
    ky_ = frame_.inner.height() * dpr_ / frame_.height;
    drawable_ = device_.width() > 0 && device_.height() > 0 && std::isfinite(kx_) &&
                std::isfinite(ky_) && kx_ != 0.0 && ky_ != 0.0;
}

QPointF SurfaceMapping::toDevice(double x, double y) const {
    // At home this is (x - left) * kx exactly: the specified frame's pixels.
    return QPointF((x - frame_.left) * kx() * zoomX_ + panX_ * dpr_,
                   (y - frame_.top) * ky() * zoomY_ + panY_ * dpr_);
}

double SurfaceMapping::lengthToDevice(double length) const {
    return std::fabs(length * kx() * zoomX_);
}

bool clipToPixels(double u1, double v1, double u2, double v2, QSize size, QLine& out) {
    for (double c : {u1, v1, u2, v2})
        if (!std::isfinite(c)) return false;
    const int w = size.width(), h = size.height();
    if (w <= 0 || h <= 0 || !clipSegment(u1, v1, u2, v2, w, h)) return false;
    out = QLine(pixelIndex(u1, w), pixelIndex(v1, h), pixelIndex(u2, w), pixelIndex(v2, h));
    return true;
}

bool SurfaceMapping::clipToDevice(double x1, double y1, double x2, double y2, QLine& out) const {
    if (!drawable()) return false;
    const QPointF a = toDevice(x1, y1), b = toDevice(x2, y2);
    return clipToPixels(a.x(), a.y(), b.x(), b.y(), device_, out);
}

QPointF SurfaceMapping::toUser(QPointF innerDip) const {
    const double x0 = (innerDip.x() - panX_) / zoomX_;
    const double y0 = (innerDip.y() - panY_) / zoomY_;
    return QPointF(frame_.left + x0 / frame_.inner.width() * frame_.width,
                   frame_.top + y0 / frame_.inner.height() * frame_.height);
}

QPointF SurfaceMapping::toInnerAtHome(double x, double y) const {
    return QPointF((x - frame_.left) / frame_.width * frame_.inner.width(),
                   (y - frame_.top) / frame_.height * frame_.inner.height());
}

QPointF SurfaceMapping::toInner(double x, double y) const {
    const QPointF home = toInnerAtHome(x, y);
    return QPointF(home.x() * zoomX_ + panX_, home.y() * zoomY_ + panY_);
}

void SurfaceMapping::home() {
    zoomX_ = zoomY_ = 1.0;
    panX_ = panY_ = 0.0;
}

namespace {

// A zoom step stops at the limits, but never pulls back from beyond them a
// zoom that fitting put there.
double steppedZoom(double zoom, double factor) {
    const double z = zoom * factor;
    if (factor < 1) return std::max(z, std::min(SurfaceMapping::kMinZoom, zoom));
    return std::min(z, std::max(SurfaceMapping::kMaxZoom, zoom));
}

// The zoom and pan that put home positions [h1, h2] onto [t1, t2].
void fitOneWay(double h1, double h2, double t1, double t2, double& zoom, double& pan) {
    const double extent = std::fabs(h2 - h1);
    if (extent > 0 && std::isfinite(extent))
        zoom = std::clamp(std::fabs(t2 - t1) / extent, 1e-300, SurfaceMapping::kMaxZoom);
    pan = (t1 + t2) / 2 - (h1 + h2) / 2 * zoom;
}

}  // namespace

void SurfaceMapping::fit(double x1, double y1, double x2, double y2, const QRectF& target) {
    const QPointF a = toInnerAtHome(x1, y1), b = toInnerAtHome(x2, y2);
    fitOneWay(a.x(), b.x(), target.left(), target.right(), zoomX_, panX_);
    fitOneWay(a.y(), b.y(), target.top(), target.bottom(), zoomY_, panY_);
}

void SurfaceMapping::zoomAbout(QPointF innerDip, double fx, double fy) {
    const double zx = steppedZoom(zoomX_, fx);
    const double zy = steppedZoom(zoomY_, fy);
    panX_ = innerDip.x() - (innerDip.x() - panX_) * (zx / zoomX_);
    panY_ = innerDip.y() - (innerDip.y() - panY_) * (zy / zoomY_);
    zoomX_ = zx;
    zoomY_ = zy;
    // Back at scale one and unmoved counts as home, so the frame's own pixels return.
    if (std::fabs(zoomX_ - 1.0) < 1e-12 && std::fabs(zoomY_ - 1.0) < 1e-12 &&
        std::fabs(panX_) < 1e-9 && std::fabs(panY_) < 1e-9)
        home();
}

void SurfaceMapping::pan(double dx, double dy) {
    panX_ += dx;
    panY_ += dy;
}

}  // namespace quorel
