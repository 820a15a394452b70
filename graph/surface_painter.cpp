#include "graph/surface_painter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "common/device_scale_text.h"

namespace quorel {
namespace {

// Beyond this radius (pixels) a circle is drawn as its visible arc.
constexpr double kLargeRadiusPx = 1e5;
constexpr int kArcSegments = 256;

int quarters(double px) {
    return static_cast<int>(std::lround(px * 4));
}

}  // namespace

void drawTextAt(QPainter& p, QPointF baselineDip, const QFont& font, QRgb rgb, double dpr,
                const QString& text) {
    p.setFont(fontAtScale(font, dpr));
    p.setPen(QColor(rgb));
    p.drawText(baselineDip * dpr, text);
}

SurfacePainter::SurfacePainter(QImage& image, const SurfaceMapping& mapping, PartChunk& chunk,
                               int lineWidth)
    : p_(&image), m_(mapping), lineWidth_(lineWidth), chunk_(chunk) {
    p_.setRenderHint(QPainter::Antialiasing, false);
    p_.setBrush(Qt::NoBrush);
    penWidth_ = std::max(1, qRound(m_.dpr())) * lineWidth;
    zoomed_ = !m_.atHome();
}

SurfacePainter::~SurfacePainter() {
    flush();
}

void SurfacePainter::line(float x1, float y1, float x2, float y2, QRgb rgb) {
    QLine px;
    if (!m_.clipToDevice(x1, y1, x2, y2, px)) return;
    add({Part::kLine, rgb, penWidth_, px.x1(), px.y1(), px.x2(), px.y2()});
}

void SurfacePainter::circle(float x, float y, float radius, QRgb rgb) {
    if (!m_.drawable()) return;
    const QPointF d = m_.toDevice(x, y);
    const double u = d.x(), v = d.y();
    double rpx = m_.lengthToDevice(radius);
    if (zoomed_) {
        // Circles mark points: zoomed, they keep a few pixels of radius and
        // grow at most threefold from the size they show at home.
        const double atHome = rpx / m_.zoomX();
        const double lo = kMinMarkerRadius * m_.dpr();
        rpx = std::clamp(rpx, lo, std::max(lo, kMaxMarkerGrowth * atHome));
    }
    if (!std::isfinite(u) || !std::isfinite(v) || !std::isfinite(rpx)) return;
    const double w = m_.deviceSize().width(), h = m_.deviceSize().height();
    if (u + rpx < 0 || u - rpx > w || v + rpx < 0 || v - rpx > h) return;
    const double farU = std::max(std::fabs(u), std::fabs(w - u));
    const double farV = std::max(std::fabs(v), std::fabs(h - v));
    if (rpx > 1.0 && farU * farU + farV * farV < (rpx - 1.0) * (rpx - 1.0))
        return;  // the whole area lies inside
    if (rpx > kLargeRadiusPx) {
        flush();
        drawArc(u, v, rpx, rgb);
        return;
    }
    add({Part::kCircle, rgb, penWidth_, quarters(u), quarters(v), quarters(rpx), 0});
}

void SurfacePainter::text(QPointF baselineDip, const QString& text, const QFont& font, QRgb rgb) {
    // Texts name the frame as drawn: a moved view names its own middle.
    if (zoomed_) return;
    flush();
    p_.save();
    drawTextAt(p_, baselineDip, font, rgb, m_.dpr(), text);
    p_.restore();
}

void SurfacePainter::add(const Part& part) {
    chunk_.push(part);
    if (chunk_.full()) flush();
}

void SurfacePainter::flush() {
    // Consecutive lines of one colour go to the painter together.
    auto drawLines = [&] {
        if (lines_.empty()) return;
        p_.drawLines(lines_.data(), int(lines_.size()));
        lines_.clear();
    };
    chunk_.drain([&](const Part& part) {
        if (!penSet_ || part.rgb != penRgb_) drawLines();
        usePen(part.rgb);
        if (part.kind == Part::kLine) {
            lines_.emplace_back(part.a, part.b, part.c, part.d);
        } else {
            drawLines();
            const double r = part.c / 4.0;
            p_.drawEllipse(QPointF(part.a / 4.0 - 0.5, part.b / 4.0 - 0.5), r, r);
        }
    });
    drawLines();
}

void SurfacePainter::drawArc(double u, double v, double rpx, QRgb rgb) {
    // The centre lies outside the area: the corners bound the visible arc.
    usePen(rgb);
    const double w = m_.deviceSize().width(), h = m_.deviceSize().height();
    const double toMid = std::atan2(h / 2.0 - v, w / 2.0 - u);
    double lo = 0.0, hi = 0.0;
    for (const auto& [cu, cv] : {std::pair{0.0, 0.0}, {w, 0.0}, {0.0, h}, {w, h}}) {
        double a = std::atan2(cv - v, cu - u) - toMid;
        a = std::remainder(a, 2 * std::numbers::pi);
        lo = std::min(lo, a);
        hi = std::max(hi, a);
    }
    double pu = 0, pv = 0;
    for (int i = 0; i <= kArcSegments; ++i) {
        const double a = toMid + lo + (hi - lo) * i / kArcSegments;
        const double nu = u + rpx * std::cos(a), nv = v + rpx * std::sin(a);
        QLine px;
        if (i > 0 && clipToPixels(pu, pv, nu, nv, m_.deviceSize(), px)) p_.drawLine(px);
        pu = nu;
        pv = nv;
    }
}

void SurfacePainter::usePen(QRgb rgb) {
    if (penSet_ && rgb == penRgb_) return;
    QPen pen{QColor(rgb), double(penWidth_)};
    pen.setCosmetic(true);
    p_.setPen(pen);
    penRgb_ = rgb;
    penSet_ = true;
}

}  // namespace quorel
