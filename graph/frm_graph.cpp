#include "graph/frm_graph.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <algorithm>

#include "common/form_geometry.h"
#include "common/numtext.h"
#include "common/twips.h"
#include "engine/err_msg.h"
#include "graph/single_precision.h"

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

FrmGraph::FrmGraph(ProgramState& state, UserDialogs& dialogs, QWidget* parent)
    : QWidget(parent), state_(state), dialogs_(dialogs) {
    pic_ = new PlotSurface(this);
    pic_->setGeometry(twipsRect(0, 0, 7695, 8535));
    pic_->PrintFont = formFont(kFaceKai, 9, false);
    labX_ = makeAxisLabel("X", pic_);
    labY_ = makeAxisLabel("Y", pic_);
    placeLabel(labX_, 7200, 5160);
    placeLabel(labY_, 3120, 0);
    connect(pic_, &PlotSurface::mouseDown, this, &FrmGraph::onSurfaceMouseDown);
    setCaption(kGraphCaptionLoad);
    watchOuterWindow();
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
        if (state_.IterCount == 0) {
            pic_->CurrentX = toSingle(x + state_.OffX);
            pic_->CurrentY = toSingle(y + state_.OrgY);
        } else {
            pic_->LineTo(x + state_.OffX, y + state_.OrgY, kCurveColor);
        }
    } catch (...) {
    }
}

void FrmGraph::Line_A(double x1, double y1, double x2, double y2) {
    if (const int failure = drawTangent(x1, y1, x2, y2)) Err_Msg(failure, dialogs_, state_.NewLine);
}

int FrmGraph::drawTangent(double x1, double y1, double x2, double y2) {
    try {
        pic_->Line(x1 + state_.OffX, y1 + state_.OrgY, x2 + state_.OffX, y2 + state_.OrgY,
                   kTangentColor);
    } catch (const Failure& f) {
        return f.number();
    }
    return 0;
}

void FrmGraph::INZGraph(double center) {
    PlotSurface& s = *pic_;
    const double w = state_.GraphW, h = state_.GraphH;
    const double orgX = state_.OrgX, orgY = state_.OrgY;
    s.Cls();
    s.Scale(0, h, w, 0);
    s.Line(orgX, h, orgX, 0, kAxisColor);
    s.Line(0, orgY, w, orgY, kAxisColor);
    const double lastX = w - orgX;
    for (double k = -orgX; k <= lastX; k += 1)
        s.Line(orgX + k, orgY, orgX + k, orgY + 0.3, kAxisColor);
    const double lastY = h - orgY;
    for (double k = -orgY; k <= lastY; k += 1)
        s.Line(orgX, orgY + k, orgX + 0.3, orgY + k, kAxisColor);
    s.CurrentX = w - 12;
    s.CurrentY = 2.5;
    s.ForeColor = kCenterLabelColor;
    s.PrintFont.setBold(true);
    s.PrintFont.setPointSizeF(9);
    s.Print(kCenterLabelHead + numberToText(center) + ",0)");
    framed_ = true;
}

void FrmGraph::placeLabel(QLabel* label, double left, double top) {
    const QPointF at = pic_->toWidgetAtHome(left, top);
    label->move(qRound(at.x()), qRound(at.y()));
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

    placeLabel(labX_, picW - 390, floorWhole((1 - state_.OrgFracY) * pic_->ScaleHeight()) + 380);
    const double labYLeft = floorWhole(state_.OrgFracX * pic_->ScaleWidth()) - 530;
    labY_->move(qRound(pic_->toWidgetAtHome(labYLeft, 0).x()), labY_->y());

    computeGraphState();
}

void FrmGraph::computeGraphState() {
    const QRect outer = outerGeometryTwips(this);
    state_.GraphW = static_cast<std::int32_t>(std::max(1LL, wholeDiv(outer.width(), 200)));
    state_.GraphH = static_cast<std::int32_t>(std::max(1LL, wholeDiv(outer.height(), 100)));
    state_.OrgX = floorWhole(state_.OrgFracX * state_.GraphW);
    state_.OrgY = floorWhole(state_.OrgFracY * state_.GraphH);
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
    // Nothing drawn yet: read the click in the frame an INZGraph centred on 0
    // would draw for the present size.
    const double plotX = (x - pic_->ScaleLeft()) / pic_->ScaleWidth() * state_.GraphW;
    startFrom(plotX - state_.OrgX);
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
