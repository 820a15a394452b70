// Drawing calls paint into the retained image through one painter, opened
// on the first call and closed when the image is next read (repaint, image(),
// pixelAt), so a long run paints in batches. A change of view, size or replay
// has the scene paint the picture again at that read.
#include "graph/plot_surface.h"

#include <qdrawutil.h>
#include <QFontMetricsF>
#include <QPainter>
#include <QScopeGuard>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <memory>

#include "common/twips.h"
#include "graph/single_precision.h"
#include "graph/surface_painter.h"

namespace quorel {
namespace {

// Text anchored farther out than this (pixels) cannot show.
constexpr double kTextReachPx = 1e6;

}  // namespace

PlotSurface::PlotSurface(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    // The wheel, + and -, the arrows and Home work once the surface has the focus.
    setFocusPolicy(Qt::WheelFocus);
}

PlotSurface::~PlotSurface() = default;

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
    if (sceneFrame_) return *sceneFrame_;
    return {ScaleLeft(), ScaleTop(), ScaleWidth(), ScaleHeight(), innerDip()};
}

SurfaceMapping PlotSurface::mappingWith(const UserFrame& frame) const {
    SurfaceMapping m = mapping_;
    m.setFrame(frame);
    return m;
}

SurfaceMapping PlotSurface::shownMapping() const {
    return mappingWith(drawnFrame_ ? *drawnFrame_ : currentFrame());
}

QPointF PlotSurface::toWidget(double x, double y) const {
    return mappingWith(currentFrame()).toInner(x, y) + QPointF(kBorderDip, kBorderDip);
}

QPointF PlotSurface::toWidgetAtHome(double x, double y) const {
    return mappingWith(currentFrame()).toInnerAtHome(x, y) + QPointF(kBorderDip, kBorderDip);
}

QPointF PlotSurface::toUser(QPointF widgetPos) const {
    return mappingWith(currentFrame()).toUser(widgetPos - QPointF(kBorderDip, kBorderDip));
}

void PlotSurface::ensureImage() {
    const double dpr = devicePixelRatioF();
    const QSizeF inner = innerDip();
    const QSize want(qRound(inner.width() * dpr), qRound(inner.height() * dpr));
    if (image_.size() == want && dpr == imageDpr_ && !image_.isNull()) return;
    // A new size or pixel ratio: the scene paints the picture afresh, in the
    // place and scale it was drawn in (a resize neither rescales nor erases it).
    closePainter();
    image_ = QImage(want, QImage::Format_RGB32);
    imageDpr_ = dpr;
    mapping_.setDevice(want, dpr);
    sceneStale_ = true;
    blankImage();
    if (!image_.isNull()) {
        image_.setDotsPerMeterX(qRound(logicalDpiX() / 0.0254));
        image_.setDotsPerMeterY(qRound(logicalDpiY() / 0.0254));
    }
}

void PlotSurface::blankImage() {
    // A blank picture: none of its parts are painted yet.
    if (!image_.isNull()) image_.fill(BackColor);
    chunk_.restart();
}

SurfacePainter* PlotSurface::painter() {
    if (!painter_) {
        if (target_ == &image_) ensureImage();
        if (target_->isNull()) return nullptr;
        painter_ = std::make_unique<SurfacePainter>(*target_, *targetMapping_, chunk_, lineWidth_);
    }
    return painter_.get();
}

void PlotSurface::closePainter() {
    painter_.reset();
}

void PlotSurface::setLineWidth(int width) {
    if (width == lineWidth_) return;
    closePainter();
    lineWidth_ = width;
}

void PlotSurface::afterDrawing() {
    if (inScene_) return;
    leaveReplay();
    if (!updateRequested_) {
        updateRequested_ = true;
        update();
    }
}

void PlotSurface::Line(double x1, double y1, double x2, double y2, QColor color) {
    const double sx1 = toSingle(x1), sy1 = toSingle(y1);
    const double sx2 = toSingle(x2), sy2 = toSingle(y2);
    const UserFrame f = currentFrame();
    if (SurfacePainter* p = painter()) {
        p->frame(f);
        p->line(float(sx1), float(sy1), float(sx2), float(sy2), color.rgb());
    }
    drawnFrame_ = f;
    CurrentX = sx2;
    CurrentY = sy2;
    afterDrawing();
}

void PlotSurface::LineTo(double x, double y, QColor color) {
    Line(CurrentX, CurrentY, x, y, color);
}

void PlotSurface::Circle(double cx, double cy, double radius, QColor color) {
    const double x = toSingle(cx), y = toSingle(cy), r = toSingle(radius);
    CurrentX = x;
    CurrentY = y;
    const UserFrame f = currentFrame();
    if (SurfacePainter* p = painter()) {
        p->frame(f);
        p->circle(float(x), float(y), float(r), color.rgb());
    }
    drawnFrame_ = f;
    afterDrawing();
}

void PlotSurface::Print(const std::string& text) {
    ensureImage();
    const QFontMetricsF fm(PrintFont, this);
    SurfaceMapping m = mapping_;
    m.home();
    m.setFrame(currentFrame());
    if (m.drawable()) {
        // Texts keep the place they were printed at; they show while the
        // view is at home.
        const QPointF d = m.toDevice(CurrentX, CurrentY);
        if (std::fabs(d.x()) < kTextReachPx && std::fabs(d.y()) < kTextReachPx) {
            const UserFrame f = currentFrame();
            if (SurfacePainter* p = painter()) {
                p->frame(f);
                p->text(QPointF(d.x() / m.dpr(), d.y() / m.dpr() + fm.ascent()),
                        QString::fromStdString(text), PrintFont, ForeColor.rgb());
            }
            drawnFrame_ = f;
            afterDrawing();
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
    leaveReplay();
    passes_ = 0;
    drawnFrame_.reset();
    const bool moved = !mapping_.atHome();
    mapping_.home();
    closePainter();
    ensureImage();
    blankImage();
    // Blank now: what comes next is drawn by the caller.
    sceneStale_ = sceneUnfinished_ = false;
    update();
    if (moved) emit viewChanged();
}

void PlotSurface::invalidateImage() {
    sceneStale_ = true;
    update();
}

void PlotSurface::repaintScene() {
    invalidateImage();
}

void PlotSurface::bringUpToDate(bool sliced) {
    ensureImage();
    if ((sceneStale_ || sceneUnfinished_) && scene_ && !inScene_) {
        const bool restart = sceneStale_;
        sceneStale_ = false;
        closePainter();
        if (restart) blankImage();
        const long long end = sliced ? clock_() + kSliceMs : 0;
        const std::function<bool()> timeUp = [&] { return sliced && clock_() >= end; };
        bool finished = true;
        inScene_ = true;
        sceneFrame_ = drawnFrame_;
        {
            const auto done = qScopeGuard([this] {
                inScene_ = false;
                sceneFrame_.reset();
                setLineWidth(1);
            });
            finished = scene_(restart, timeUp);
        }
        sceneUnfinished_ = !finished;
        // The rest in the next slice, after the input that waits.
        if (!finished) QTimer::singleShot(0, this, [this] { update(); });
    }
    closePainter();
}

const QColor PlotSurface::kReplayColour(255, 128, 0);

QImage PlotSurface::image() {
    bringUpToDate();
    QImage img = image_;
    img.setDevicePixelRatio(imageDpr_);
    return img;
}

QImage PlotSurface::imageAt(double dpr) const {
    const QSizeF inner = innerDip();
    QImage img(QSize(qRound(inner.width() * dpr), qRound(inner.height() * dpr)),
               QImage::Format_RGB32);
    if (img.isNull()) return img;
    img.fill(BackColor);
    SurfaceMapping m = mapping_;
    m.setDevice(img.size(), dpr);
    if (scene_ && !inScene_) {
        // The whole picture, outside any replay, painted by the scene into
        // the print image; the screen's image and the pen stay as they are.
        auto* self = const_cast<PlotSurface*>(this);
        self->closePainter();
        const double penX = CurrentX, penY = CurrentY;
        const std::optional<UserFrame> drawn = drawnFrame_;
        const long long replay = replay_;
        self->target_ = &img;
        self->targetMapping_ = &m;
        self->chunk_.restart();
        self->replay_ = -1;
        self->inScene_ = true;
        self->sceneFrame_ = drawnFrame_;
        const auto restore = qScopeGuard([&] {
            self->closePainter();
            self->setLineWidth(1);
            self->target_ = &self->image_;
            self->targetMapping_ = &self->mapping_;
            // The picture goes on painting every part it is given.
            self->chunk_.restart();
            self->replay_ = replay;
            self->inScene_ = false;
            self->sceneFrame_.reset();
            self->CurrentX = penX;
            self->CurrentY = penY;
            self->drawnFrame_ = drawn;
        });
        scene_(true, [] { return false; });
    }
    img.setDevicePixelRatio(dpr);
    return img;
}

QColor PlotSurface::pixelAt(double x, double y) {
    bringUpToDate();
    const SurfaceMapping m = mappingWith(currentFrame());
    if (!m.drawable()) return QColor();
    const QPointF d = m.toDevice(x, y);
    const int w = image_.width(), h = image_.height();
    if (!(d.x() >= 0 && d.x() <= w && d.y() >= 0 && d.y() <= h)) return QColor();
    return QColor(image_.pixel(std::clamp(int(std::floor(d.x())), 0, w - 1),
                               std::clamp(int(std::floor(d.y())), 0, h - 1)));
}

void PlotSurface::paintEvent(QPaintEvent*) {
    updateRequested_ = false;
    bringUpToDate(true);
    QPainter p(this);
    qDrawShadePanel(&p, rect(), palette(), true, kBorderDip);
    p.drawImage(QRectF(QPointF(kBorderDip, kBorderDip), innerDip()), image_);
}

void PlotSurface::resizeEvent(QResizeEvent* e) {
    // The image of the new size is made when it is next drawn on or shown:
    // the sizes a window passes through while it is laid out cost nothing.
    closePainter();
    QWidget::resizeEvent(e);
}

}  // namespace quorel
