// Drawing calls go into the record (in user coordinates, single precision);
// the retained image shows the record through the surface's mapping and is
// brought up to date when it is next needed (repaint, image(), pixelAt). Only
// what was added since is painted, unless the view or the image changed.
#include "graph/plot_surface.h"

#include <qdrawutil.h>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QVarLengthArray>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "common/device_scale_text.h"
#include "common/twips.h"
#include "graph/raster.h"
#include "graph/single_precision.h"

namespace quorel {
namespace {

constexpr int kBorderDip = 2;
// Beyond this radius (pixels) a circle is drawn as its visible arc.
constexpr double kLargeRadiusPx = 1e5;
constexpr int kArcSegments = 256;
// Text anchored farther out than this (pixels) cannot show.
constexpr double kTextReachPx = 1e6;
// The first parts of a drawing go through the painter; a drawing longer than
// this (a run of many thousand passes) has the rest of its lines and small
// circles set pixel by pixel, which costs a fraction of a painter call.
constexpr std::size_t kPainterParts = 20000;
constexpr double kRasterMaxRadiusPx = 64;
// An arrow key moves the view by this share of the inner area.
constexpr double kPanShare = 0.1;

// Text at device size without a scaling transform: glyphs of a face without a
// bold style are emboldened for the size they are rendered at, so under a
// scale they would come out thinner at a higher pixel ratio.
void drawTextAt(QPainter& p, QPointF baselineDip, const QFont& font, QRgb rgb, double dpr,
                const QString& text) {
    p.setFont(fontAtScale(font, dpr));
    p.setPen(QColor(rgb));
    p.drawText(baselineDip * dpr, text);
}

}  // namespace

// Paints records into the image through the mapping, one frame at a time.
class PlotSurface::Painter {
  public:
    Painter(QImage& image, const SurfaceMapping& mapping) : image_(image), p_(&image), m_(mapping) {
        p_.setRenderHint(QPainter::Antialiasing, false);
        p_.setBrush(Qt::NoBrush);
        penWidth_ = std::max(1, qRound(m_.dpr()));
        zoomed_ = !m_.atHome();
    }
    ~Painter() { flushLines(); }

    void frame(const UserFrame& f) {
        flushLines();
        m_.setFrame(f);
    }
    void line(const DrawingRecord::Line& l, QRgb rgb, std::size_t index) {
        QLine px;
        if (!m_.clipToDevice(l.x1, l.y1, l.x2, l.y2, px)) return;
        if (index >= kPainterParts) {
            flushLines();
            rasterLine(image_, px, rgb, penWidth_);
            return;
        }
        // Consecutive lines of one colour go to the painter together.
        if (!lines_.isEmpty() && rgb != linesRgb_) flushLines();
        linesRgb_ = rgb;
        lines_.append(px);
    }
    void circle(const DrawingRecord::Circle& c, QRgb rgb, std::size_t index) {
        if (!m_.drawable()) return;
        const QPointF d = m_.toDevice(c.x, c.y);
        const double u = d.x(), v = d.y();
        double rpx = m_.lengthToDevice(c.radius);
        if (zoomed_) {
            // Circles mark points: zoomed, they keep a few pixels of radius
            // and grow at most threefold from the size they show at home.
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
        flushLines();
        if (index >= kPainterParts && rpx <= kRasterMaxRadiusPx) {
            rasterCircle(image_, QPointF(u - 0.5, v - 0.5), rpx, rgb, penWidth_);
            return;
        }
        usePen(rgb);
        if (rpx <= kLargeRadiusPx) {
            p_.drawEllipse(QPointF(u - 0.5, v - 0.5), rpx, rpx);
            return;
        }
        // The centre lies outside the area: the corners bound the visible arc.
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
    void text(const DrawingRecord::Text& t) {
        flushLines();
        p_.save();
        drawTextAt(p_, t.baselineDip, t.font, t.rgb, m_.dpr(), t.text);
        p_.restore();
    }

  private:
    void usePen(QRgb rgb) {
        if (penSet_ && rgb == penRgb_) return;
        QPen pen{QColor(rgb), double(penWidth_)};
        pen.setCosmetic(true);
        p_.setPen(pen);
        penRgb_ = rgb;
        penSet_ = true;
    }
    void flushLines() {
        if (lines_.isEmpty()) return;
        usePen(linesRgb_);
        p_.drawLines(lines_.constData(), int(lines_.size()));
        lines_.clear();
    }

    QImage& image_;
    QPainter p_;
    SurfaceMapping m_;
    int penWidth_ = 1;
    bool zoomed_ = false;
    QVarLengthArray<QLine, 256> lines_;
    QRgb linesRgb_ = 0;
    QRgb penRgb_ = 0;
    bool penSet_ = false;
};

PlotSurface::PlotSurface(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    // The wheel, + and -, the arrows and Home work once the surface has the focus.
    setFocusPolicy(Qt::WheelFocus);
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

UserFrame PlotSurface::currentFrame() const {
    return {ScaleLeft(), ScaleTop(), ScaleWidth(), ScaleHeight(), innerDip()};
}

SurfaceMapping PlotSurface::shownMapping() const {
    SurfaceMapping m = mapping_;
    const UserFrame* drawn = record_.lastFrame();
    m.setFrame(drawn ? *drawn : currentFrame());
    return m;
}

QPointF PlotSurface::toWidget(double x, double y) const {
    SurfaceMapping m = mapping_;
    m.setFrame(currentFrame());
    return m.toInner(x, y) + QPointF(kBorderDip, kBorderDip);
}

QPointF PlotSurface::toWidgetAtHome(double x, double y) const {
    SurfaceMapping m = mapping_;
    m.setFrame(currentFrame());
    return m.toInnerAtHome(x, y) + QPointF(kBorderDip, kBorderDip);
}

QPointF PlotSurface::toUser(QPointF widgetPos) const {
    SurfaceMapping m = mapping_;
    m.setFrame(currentFrame());
    return m.toUser(widgetPos - QPointF(kBorderDip, kBorderDip));
}

void PlotSurface::ensureImage() {
    const double dpr = devicePixelRatioF();
    const QSizeF inner = innerDip();
    const QSize want(qRound(inner.width() * dpr), qRound(inner.height() * dpr));
    if (image_.size() == want && dpr == imageDpr_ && !image_.isNull()) return;
    // A new size or pixel ratio: the drawing is painted afresh, in the place
    // and scale it was drawn in (a resize neither rescales nor erases it).
    image_ = QImage(want, QImage::Format_RGB32);
    imageDpr_ = dpr;
    mapping_.setDevice(want, dpr);
    painted_ = {};
    if (!image_.isNull()) {
        image_.fill(BackColor);
        image_.setDotsPerMeterX(qRound(logicalDpiX() / 0.0254));
        image_.setDotsPerMeterY(qRound(logicalDpiY() / 0.0254));
    }
}

void PlotSurface::afterRecord() {
    if (!updateRequested_) {
        updateRequested_ = true;
        update();
    }
}

void PlotSurface::Line(double x1, double y1, double x2, double y2, QColor color) {
    const double sx1 = toSingle(x1), sy1 = toSingle(y1);
    const double sx2 = toSingle(x2), sy2 = toSingle(y2);
    record_.addLine(currentFrame(), {float(sx1), float(sy1), float(sx2), float(sy2)}, color.rgb());
    CurrentX = sx2;
    CurrentY = sy2;
    afterRecord();
}

void PlotSurface::LineTo(double x, double y, QColor color) {
    Line(CurrentX, CurrentY, x, y, color);
}

void PlotSurface::Circle(double cx, double cy, double radius, QColor color) {
    const double x = toSingle(cx), y = toSingle(cy), r = toSingle(radius);
    CurrentX = x;
    CurrentY = y;
    record_.addCircle(currentFrame(), {float(x), float(y), float(r)}, color.rgb());
    afterRecord();
}

void PlotSurface::Print(const std::string& text) {
    ensureImage();
    const QFontMetricsF fm(PrintFont, this);
    SurfaceMapping m = mapping_;
    m.home();
    m.setFrame(currentFrame());
    if (m.drawable()) {
        // Texts keep the place they were printed at, whatever the view.
        const QPointF d = m.toDevice(CurrentX, CurrentY);
        if (std::fabs(d.x()) < kTextReachPx && std::fabs(d.y()) < kTextReachPx) {
            record_.addText(currentFrame(),
                            {QPointF(d.x() / m.dpr(), d.y() / m.dpr() + fm.ascent()),
                             QString::fromStdString(text), PrintFont, ForeColor.rgb()});
            afterRecord();
        }
    }
    const double innerH = innerDip().height();
    CurrentX = ScaleLeft();
    if (innerH > 0) CurrentY += fm.lineSpacing() / innerH * ScaleHeight();
}

QRectF PlotSurface::printedInk(const std::string& text, QPointF penDip) const {
    const double dpr = devicePixelRatioF();
    const QFontMetricsF fm(PrintFont, this);
    const QString s = QString::fromStdString(text);
    const QPointF baseline = penDip + QPointF(0, fm.ascent());
    // A probe image around the text that keeps its fraction of a pixel.
    const int pad = int(std::ceil(2 * fm.height() * dpr));
    const int shiftX = int(std::floor(baseline.x() * dpr)) - pad;
    const int shiftY = int(std::floor(baseline.y() * dpr)) - pad;
    QImage probe(int(std::ceil(fm.horizontalAdvance(s) * dpr)) + 2 * pad, 2 * pad,
                 QImage::Format_RGB32);
    if (probe.isNull()) return {};
    probe.fill(Qt::white);
    probe.setDotsPerMeterX(qRound(logicalDpiX() / 0.0254));
    probe.setDotsPerMeterY(qRound(logicalDpiY() / 0.0254));
    {
        QPainter p(&probe);
        drawTextAt(p, baseline - QPointF(shiftX, shiftY) / dpr, PrintFont, qRgb(0, 0, 0), dpr, s);
    }
    QRect box;
    for (int y = 0; y < probe.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(probe.constScanLine(y));
        for (int x = 0; x < probe.width(); ++x)
            if (row[x] != qRgb(255, 255, 255)) box |= QRect(x, y, 1, 1);
    }
    if (box.isEmpty()) return {};
    return QRectF((box.left() + shiftX) / dpr, (box.top() + shiftY) / dpr, box.width() / dpr,
                  box.height() / dpr);
}

void PlotSurface::Cls() {
    record_.clear();
    const bool moved = !mapping_.atHome();
    mapping_.home();
    invalidateImage();
    if (moved) emit viewChanged();
}

void PlotSurface::invalidateImage() {
    ensureImage();
    if (!image_.isNull()) image_.fill(BackColor);
    painted_ = {};
    update();
}

void PlotSurface::paintPending() {
    if (image_.isNull() || painted_.op >= record_.size()) return;
    image_.bits();  // detached before painting: pixels are also set directly
    Painter painter(image_, mapping_);
    record_.replay(painted_, painter);
}

QImage PlotSurface::image() {
    ensureImage();
    paintPending();
    QImage img = image_;
    img.setDevicePixelRatio(imageDpr_);
    return img;
}

QColor PlotSurface::pixelAt(double x, double y) {
    ensureImage();
    paintPending();
    SurfaceMapping m = mapping_;
    m.setFrame(currentFrame());
    if (!m.drawable()) return QColor();
    const QPointF d = m.toDevice(x, y);
    const int w = image_.width(), h = image_.height();
    if (!(d.x() >= 0 && d.x() <= w && d.y() >= 0 && d.y() <= h)) return QColor();
    return QColor(image_.pixel(std::clamp(int(std::floor(d.x())), 0, w - 1),
                               std::clamp(int(std::floor(d.y())), 0, h - 1)));
}

void PlotSurface::paintEvent(QPaintEvent*) {
    updateRequested_ = false;
    ensureImage();
    paintPending();
    QPainter p(this);
    qDrawShadePanel(&p, rect(), palette(), true, kBorderDip);
    p.drawImage(QRectF(QPointF(kBorderDip, kBorderDip), innerDip()), image_);
}

void PlotSurface::resizeEvent(QResizeEvent* e) {
    ensureImage();
    QWidget::resizeEvent(e);
}

QPointF PlotSurface::shownUserAt(QPointF widgetPos) const {
    // The drawing the user sees keeps its coordinates until it is cleared,
    // even when the surface has been resized since.
    return shownMapping().toUser(widgetPos - QPointF(kBorderDip, kBorderDip));
}

void PlotSurface::mousePressEvent(QMouseEvent* e) {
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
    mapping_.zoomAbout(widgetPos - QPointF(kBorderDip, kBorderDip), fx, fy);
    invalidateImage();
    emit viewChanged();
    if (pointer_) notePointer(*pointer_);
}

void PlotSurface::panBy(double dx, double dy) {
    mapping_.pan(dx, dy);
    invalidateImage();
    emit viewChanged();
    if (pointer_) notePointer(*pointer_);
}

void PlotSurface::homeView() {
    mapping_.home();
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
