#include "graph/frm_graph.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QtMath>
#include <algorithm>
#include <cmath>

#include "common/failure.h"
#include "common/form_geometry.h"
#include "common/numtext.h"
#include "common/replay_keys.h"
#include "common/twips.h"
#include "graph/basin_strip.h"
#include "graph/curve_break.h"
#include "graph/outcome_line.h"
#include "graph/run_drawing.h"
#include "graph/single_precision.h"
#include "run/run_model.h"

namespace quorel {
namespace {

const QColor kAxisColor(0, 0, 0);
const QColor kCurveColor(0, 0, 255);
const QColor kTangentColor(255, 0, 0);
const QColor kCenterLabelColor(0, 255, 0);
constexpr double kBorderTwips2 = 2 * PlotSurface::kBorderTwips;

QLabel* makeAxisLabel(const char* text, PlotSurface* surface) {
    auto* label = new QLabel(QString::fromUtf8(text), surface);
    label->setFont(formFont(kFaceTimes, 12, false));
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setAutoFillBackground(false);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    label->resize(twipsToPx(490), twipsToPx(375));
    return label;
}

}  // namespace

FrmGraph::FrmGraph(ProgramState& state, QWidget* parent) : QWidget(parent), state_(state) {
    pic_ = new PlotSurface(this);
    pic_->setGeometry(twipsRect(0, 0, 7695, 8535));
    pic_->PrintFont = formFont(kFaceKai, 9, false);
    labX_ = makeAxisLabel("X", pic_);
    labY_ = makeAxisLabel("Y", pic_);
    placeLabel(labX_, 7200, 5160);
    placeLabel(labY_, 3120, 0);
    connect(pic_, &PlotSurface::mouseDown, this, &FrmGraph::onSurfaceMouseDown);
    pointer_ = new QLabel(pic_);
    pointer_->setObjectName("pointerCoordinates");
    styleOverlayLabel(*pointer_, "#404040");
    pointer_->hide();
    connect(pic_, &PlotSurface::pointerMoved, this, &FrmGraph::showPointer);
    connect(pic_, &PlotSurface::pointerLeft, pointer_, &QLabel::hide);
    viewCenter_ = new QLabel(pic_);
    viewCenter_->setObjectName("viewCenter");
    viewCenter_->setAttribute(Qt::WA_TransparentForMouseEvents);
    // On a veil of white, so that no line of the drawing runs through it.
    viewCenter_->setStyleSheet("color: rgb(0, 255, 0); background: rgba(255, 255, 255, 210);");
    viewCenter_->setContentsMargins(0, 0, 0, 0);
    viewCenter_->hide();
    outcome_ = new OutcomeLine(pic_);
    connect(pic_, &PlotSurface::viewChanged, this, &FrmGraph::showViewCenter);
    basins_ = new BasinStrip(pic_, [this](double x) {
        const QPointF u = pic_->shownUserAt(QPointF(x, 0));
        return worldAt(u.x(), u.y()).x();
    });
    connect(basins_, &BasinStrip::columnClicked, this, &FrmGraph::startFrom);
    connect(pic_, &PlotSurface::viewChanged, basins_, &BasinStrip::refreshColumns);
    connect(pic_, &PlotSurface::viewChanged, this, &FrmGraph::placeAxisLabels);
    addReplayKeys(this, [this](int step) { emit replayStepRequested(step); });
    pic_->setScene([this](bool restart, const std::function<bool()>& timeUp) {
        return paintScene(restart, timeUp);
    });
    setCaption(kGraphCaptionLoad);
    watchOuterWindow();
}

void FrmGraph::setRun(const RunModel* run) {
    run_ = run;
    pic_->repaintScene();
}

bool FrmGraph::paintScene(bool restart, const std::function<bool()>& timeUp) {
    if (!framed_) return true;
    PlotSurface& s = *pic_;
    if (restart) {
        drawAxes(frame_.w, frame_.h, frame_.orgX, frame_.orgY);
        if (underlay_) underlay_();
        const QFont font = s.PrintFont;
        const QColor fore = s.ForeColor;
        s.CurrentX = centerPenUser_.x();
        s.CurrentY = centerPenUser_.y();
        s.PrintFont = centerFont_;
        s.ForeColor = kCenterLabelColor;
        s.Print(centerText_);
        s.PrintFont = font;
        s.ForeColor = fore;
        if (run_) drawCurve(*this, *run_, 0);
        sceneRows_ = 0;
    }
    if (!run_ || sceneRows_ < 0) return true;
    sceneRows_ = drawRunRows(*this, *run_, s.replayPass(), sceneRows_, timeUp);
    return sceneRows_ < 0;
}

PlotSurface& FrmGraph::picThree() {
    return *pic_;
}
QLabel& FrmGraph::LabX() {
    return *labX_;
}
QLabel& FrmGraph::LabY() {
    return *labY_;
}

void FrmGraph::setCaption(const std::string& caption) {
    setFormCaption(this, QString::fromStdString(caption));
}

std::string FrmGraph::caption() const {
    return formCaption(const_cast<FrmGraph*>(this)).toStdString();
}

void FrmGraph::Refresh() {
    outerWindow(this)->repaint();
}

void FrmGraph::Line_C(double x, double y) {
    try {
        const double px = toSingle(x + state_.OffX);
        const double py = toSingle(y + state_.OrgY);
        // Plot y of the samples; a pole between two of them breaks the curve.
        const CurveSamples samples{curveBefore_, curveLast_, py};
        if (curvePenDown_ && joinsSamples(samples, 0, framed_ ? frame_.h : state_.GraphH)) {
            pic_->LineTo(px, py, kCurveColor);
            curveBefore_ = curveLast_;
        } else {
            pic_->CurrentX = px;
            pic_->CurrentY = py;
            curveBefore_ = std::nan("");
        }
        curveLast_ = py;
        curvePenDown_ = true;
    } catch (const Failure&) {
        curvePenDown_ = false;
    }
}

void FrmGraph::showBasins(bool on) {
    reserveBottom(on ? BasinStrip::kHeight : 0);
    basins_->setVisible(on);
    if (on) basins_->raise();
}

bool FrmGraph::basinsShown() const {
    return !basins_->isHidden();
}

void FrmGraph::holdBasins() {
    basins_->hide();
    bottomReserve_ = BasinStrip::kHeight;
}

void FrmGraph::reserveBottom(int dip) {
    if (dip == bottomReserve_) return;
    bottomReserve_ = dip;
    if (framed_) replayForSize(true);  // the centre label moves
}

void FrmGraph::Line_A(double x1, double y1, double x2, double y2,
                      const std::function<void(int)>& report) {
    try {
        pic_->Line(x1 + state_.OffX, y1 + state_.OrgY, x2 + state_.OffX, y2 + state_.OrgY,
                   kTangentColor);
    } catch (const Failure& f) {
        report(f.number());
    }
}

void FrmGraph::INZGraph(double center) {
    PlotSurface& s = *pic_;
    const double w = state_.GraphW, h = state_.GraphH;
    const double orgX = state_.OrgX, orgY = state_.OrgY;
    s.Cls();
    s.Scale(0, h, w, 0);
    drawAxes(w, h, orgX, orgY);
    if (underlay_) underlay_();
    s.CurrentX = w - 12;
    s.CurrentY = 2.5;
    const double innerH = s.height() - 2 * PlotSurface::kBorderTwips / kTwipsPerPixel;
    if (bottomReserve_ > 0 && innerH > 0) s.CurrentY += bottomReserve_ * h / innerH;
    s.ForeColor = kCenterLabelColor;
    s.PrintFont.setBold(true);
    s.PrintFont.setPointSizeF(9);
    const std::string label = kCenterLabelHead + numberToText(center) + ",0)";
    placeCenterLabel(label);
    centerPen_ = s.toWidgetAtHome(s.CurrentX, s.CurrentY);
    centerPenUser_ = QPointF(s.CurrentX, s.CurrentY);
    centerFont_ = s.PrintFont;
    centerText_ = label;
    s.Print(label);
    framed_ = true;
    curvePenDown_ = false;
    pointer_->hide();
    showOutcome({});
    frame_ = {center, w, h, orgX, orgY, s.size()};
    placeAxisLabels();
    basins_->refreshColumns();
}

void FrmGraph::drawAxes(double w, double h, double orgX, double orgY) {
    PlotSurface& s = *pic_;
    s.Line(orgX, h, orgX, 0, kAxisColor);
    s.Line(0, orgY, w, orgY, kAxisColor);
    const double lastX = w - orgX;
    for (double k = -orgX; k <= lastX; k += 1)
        s.Line(orgX + k, orgY, orgX + k, orgY + 0.3, kAxisColor);
    const double lastY = h - orgY;
    for (double k = -orgY; k <= lastY; k += 1)
        s.Line(orgX, orgY + k, orgX + 0.3, orgY + k, kAxisColor);
}

void FrmGraph::replayForSize(bool force) {
    if (!force && frame_.surface == pic_->size() && frame_.w == state_.GraphW &&
        frame_.h == state_.GraphH && frame_.orgX == state_.OrgX && frame_.orgY == state_.OrgY) {
        pic_->Scale(0, frame_.h, frame_.w, 0);  // as drawn: the layout left it in twips
        placeAxisLabels();
        return;
    }
    // The view goes along: its zoom, and the world point at its middle kept
    // at the middle.
    const bool viewMoved = !pic_->viewAtHome();
    const double zoomX = pic_->viewZoomX(), zoomY = pic_->viewZoomY();
    const QPointF seen =
        pic_->shownUserAt(QPointF(frame_.surface.width(), frame_.surface.height()) / 2);
    const double dx = state_.OrgX - frame_.orgX, dy = state_.OrgY - frame_.orgY;
    redrawFrame([=, this] {
        if (!viewMoved) return;
        const QPointF middle = QPointF(pic_->width(), pic_->height()) / 2;
        pic_->zoomAt(middle, zoomX, zoomY);
        const QPointF at = pic_->toWidget(seen.x() + dx, seen.y() + dy);
        pic_->panBy(middle.x() - at.x(), middle.y() - at.y());
    });
}

void FrmGraph::frameRun() {
    if (!framed_ || !run_) return;
    double x1 = INFINITY, y1 = INFINITY, x2 = -INFINITY, y2 = -INFINITY;
    const RowStore& rows = run_->rows();
    for (long long r = 0; r < rows.size(); ++r) {
        const CellValue xi = rows.at(r, 0), fxi = rows.at(r, 1);
        if (xi.failure != 0 || fxi.failure != 0) continue;
        try {
            const double x = toSingle(xi.value + state_.OffX),
                         y = toSingle(fxi.value + state_.OrgY);
            x1 = std::min(x1, x), x2 = std::max(x2, x);
            y1 = std::min(y1, y), y2 = std::max(y2, y);
        } catch (const Failure&) {
        }
    }
    if (!(x1 <= x2)) return;
    // Room for the markers and a little air around them.
    const double margin = 0.08 * std::min(pic_->width(), pic_->height()) + 6;
    redrawFrame([&] { pic_->fitView(x1, y1, x2, y2, margin); });
}

void FrmGraph::redrawFrame(const std::function<void()>& setView) {
    const double dx = state_.OrgX - frame_.orgX, dy = state_.OrgY - frame_.orgY;
    // The centre stays on the y axis, wherever the new size puts it.
    state_.OffX += dx;
    const double penX = pic_->CurrentX + dx, penY = pic_->CurrentY + dy;
    const bool penDown = curvePenDown_;
    const double last = curveLast_ + dy, before = curveBefore_ + dy;
    // The outcome line comes back as the run says it (a window without a run
    // keeps what it showed).
    const std::string outcome =
        run_ ? quorel::outcomeText(run_->outcome()) : outcomeText().toStdString();
    const long long passes = pic_->passCount();
    INZGraph(frame_.center);
    if (setView) setView();
    // The run's curve is sampled again across what the view now shows; the
    // picture is then painted from the run in the new frame.
    if (run_) {
        const double left = pic_->toUser(QPointF(0, 0)).x() - state_.OffX;
        const double right = pic_->toUser(QPointF(pic_->width(), 0)).x() - state_.OffX;
        emit curveWanted(left, right);
    }
    pic_->setPassCount(passes);
    pic_->repaintScene();
    pic_->CurrentX = penX;
    pic_->CurrentY = penY;
    curvePenDown_ = penDown;
    curveLast_ = last;
    curveBefore_ = before;
    showOutcome(outcome);
    showViewCenter();
}

void FrmGraph::Form_Resize() {
    // The client area gives the inner size: Qt's frames are not 120 by 405 twips.
    const double clientW = pxToTwips(width());
    const double clientH = pxToTwips(height());
    // A window too small still keeps one pixel inside the surface's border.
    const double minPic = kBorderTwips2 + kTwipsPerPixel;
    const double picW = std::max(clientW - kBorderTwips2, minPic);
    const double picH = std::max(clientH - kBorderTwips2, minPic);
    pic_->setGeometry(twipsRect(0, 0, picW, picH));
    pic_->setScaleHeight(picH - kBorderTwips2);
    pic_->setScaleWidth(picW - kBorderTwips2);

    computeGraphState();
    placeOutcome();
    if (framed_) {
        replayForSize();  // which places X and Y by the axes drawn
        return;
    }
    placeLabel(labX_, picW - 390, floorWhole((1 - state_.OrgFracY) * pic_->ScaleHeight()) + 380);
    const double labYLeft = floorWhole(state_.OrgFracX * pic_->ScaleWidth()) - 530;
    labY_->move(qRound(pic_->toWidgetAtHome(labYLeft, 0).x()), labY_->y());
}

void FrmGraph::computeGraphState() {
    const QRect outer = outerGeometryTwips(this);
    state_.GraphW = static_cast<std::int32_t>(std::max(1LL, wholeDiv(outer.width(), 200)));
    state_.GraphH = static_cast<std::int32_t>(std::max(1LL, wholeDiv(outer.height(), 100)));
    state_.OrgX = floorWhole(state_.OrgFracX * state_.GraphW);
    state_.OrgY = floorWhole(state_.OrgFracY * state_.GraphH);
}

QPointF FrmGraph::worldAt(double x, double y) const {
    if (framed_) return QPointF(x - state_.OffX, y - state_.OrgY);
    const double plotX = (x - pic_->ScaleLeft()) / pic_->ScaleWidth() * state_.GraphW;
    const double plotY =
        state_.GraphH - (y - pic_->ScaleTop()) / pic_->ScaleHeight() * state_.GraphH;
    return QPointF(plotX - state_.OrgX, plotY - state_.OrgY);
}

void FrmGraph::picThree_MouseDown(int /*button*/, int /*shift*/, double x, double /*y*/) {
    startFrom(x - state_.OffX);
}

void FrmGraph::startFrom(double worldX) {
    const std::string text = numberToText(roundHalfEven(worldX, 3));
    emit calculationRequested(QString::fromStdString(text));
}

void FrmGraph::onSurfaceMouseDown(double x, double y, Qt::MouseButton button) {
    const int code = button == Qt::RightButton ? 2 : button == Qt::MiddleButton ? 4 : 1;
    const Qt::KeyboardModifiers mods = QGuiApplication::keyboardModifiers();
    const int shift = (mods & Qt::ShiftModifier ? 1 : 0) | (mods & Qt::ControlModifier ? 2 : 0) |
                      (mods & Qt::AltModifier ? 4 : 0);
    if (framed_) {
        picThree_MouseDown(code, shift, x, y);
        return;
    }
    startFrom(worldAt(x, y).x());
}

void FrmGraph::watchOuterWindow() {
    QWidget* outer = outerWindow(this);
    if (outer == this) outer = nullptr;
    if (outer == watched_) return;
    if (watched_) watched_->removeEventFilter(this);
    watched_ = outer;
    if (watched_) watched_->installEventFilter(this);
}

bool FrmGraph::eventFilter(QObject* watched, QEvent* e) {
    if (watched == watched_ && e->type() == QEvent::Resize) Form_Resize();
    return QWidget::eventFilter(watched, e);
}

void FrmGraph::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    // Standing alone the form is the outer window; inside a frame this settles
    // the layout should the frame's resize have been seen before the form's.
    Form_Resize();
}

bool FrmGraph::event(QEvent* e) {
    if (e->type() == QEvent::ParentChange) watchOuterWindow();
    return QWidget::event(e);
}

}  // namespace quorel
