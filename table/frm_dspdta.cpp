#include "table/frm_dspdta.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QProxyStyle>
#include <QScrollBar>
#include <QStyleFactory>
#include <QStyleOptionComplex>
#include <algorithm>
#include <memory>
#include <utility>

#include "common/failure.h"
#include "common/form_geometry.h"
#include "common/numtext.h"
#include "common/text_fit.h"
#include "common/twips.h"
#include "run/run_model.h"
#include "table/rows_view.h"
#include "table/scroll_range.h"

namespace quorel {
namespace {

using table_rows::Content;
using table_rows::fittedCell;
using table_rows::kCellHeight;
using table_rows::kCellLeft;
using table_rows::kCellWidth;
using table_rows::kColumns;
using table_rows::kPitch;
using table_rows::RowsView;
using table_rows::twipsRectF;

constexpr long long kViewport = FrmDSPDTA::kViewportHeight;

// The scroll bar's look: the platform's bar with a dark thumb, which a light
// track would otherwise hide.
class ThumbStyle : public QProxyStyle {
    Q_OBJECT
  public:
    using QProxyStyle::QProxyStyle;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        if (control != CC_ScrollBar || !(option->state & State_Enabled)) return;
        const QRect thumb = subControlRect(control, option, SC_ScrollBarSlider, widget);
        if (thumb.width() < 3 || thumb.height() < 3) return;
        const bool held =
            (option->state & State_Sunken) && option->activeSubControls == SC_ScrollBarSlider;
        painter->save();
        painter->setPen(QColor(64, 64, 64));
        painter->setBrush(held ? QColor(80, 80, 80) : QColor(112, 112, 112));
        painter->drawRect(thumb.adjusted(1, 1, -2, -2));
        painter->restore();
    }
};

QLabel* headerLabel(QWidget* frame, const char* name, const char* text, double points,
                    Qt::Alignment align, QRect geometry) {
    auto* label = new QLabel(QString::fromLatin1(text), frame);
    label->setObjectName(name);
    label->setAlignment(align | Qt::AlignTop);
    label->setGeometry(geometry);
    fitLabelText(label, formFont(kFaceTimes, points, false));
    return label;
}

}  // namespace

class FrmDSPDTA::Impl {
  public:
    std::unique_ptr<RunModel> ownRun;
    RunModel* run = nullptr;
    Content content;
    ScrollRange range;
    RowsView* picOne = nullptr;
    QScrollBar* vsbScroll = nullptr;
    // While updates are held the rows and the content's place change at once,
    // the bar catches up at the next Refresh.
    bool held = false;
    bool barStale = false;
};

FrmDSPDTA::FrmDSPDTA(RunModel* run, QWidget* parent)
    : QWidget(parent), d_(std::make_unique<Impl>()) {
    if (!run) {
        d_->ownRun = std::make_unique<RunModel>();
        run = d_->ownRun.get();
    }
    d_->run = run;
    d_->content.rows = &run->rows();
    setObjectName("FrmDSPDTA");
    QFont windowFont = font();
    windowFont.setPointSizeF(12);
    windowFont.setBold(true);
    setFont(windowFont);
    setFormCaption(this, QStringLiteral("Calculate process data,next X=x-(f(x)/f'(x))"));
    resize(twipsToPx(5910), twipsToPx(5175));

    auto* frame1 = new QFrame(this);
    frame1->setObjectName("Frame1");
    frame1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    QPalette grey = frame1->palette();
    grey.setColor(QPalette::Window, QColor(192, 192, 192));
    frame1->setPalette(grey);
    frame1->setAutoFillBackground(true);
    frame1->setGeometry(twipsRect(0, 0, 5655, 435));
    headerLabel(frame1, "Label2", "times i", 9.75, Qt::AlignLeft, twipsRect(120, 120, 495, 255));
    headerLabel(frame1, "Label3", "Xi", 11.25, Qt::AlignHCenter, twipsRect(1200, 120, 495, 255));
    headerLabel(frame1, "Label4", "f(Xi)", 11.25, Qt::AlignHCenter, twipsRect(2760, 120, 495, 255));
    headerLabel(frame1, "Label1", "f'(Xi)", 11.25, Qt::AlignHCenter,
                twipsRect(3840, 120, 1575, 255));

    auto* frame6 = new QFrame(this);
    frame6->setObjectName("Frame6");
    frame6->setFrameStyle(QFrame::Box | QFrame::Sunken);
    frame6->setGeometry(twipsRect(5640, 0, 255, 495));

    d_->picOne = new RowsView(d_->content, this);
    d_->picOne->setGeometry(twipsRect(0, 480, 5655, kViewportHeight));
    // A narrow face keeps eleven or twelve digits, a sign and an exponent
    // inside the cells at the columns' sizes.
    d_->picOne->setCellFonts({formFont(kFaceCells, 12, true), formFont(kFaceCells, 9, true),
                              formFont(kFaceCells, 9, true), formFont(kFaceCells, 9.75, true)});
    d_->picOne->toolTip = [this](int column, long long row) { return cellToolTip(column, row); };

    // Tracking off: a drag reports through sliderMoved and commits the
    // position when the thumb is let go, as the bar's Scroll and Change do.
    d_->vsbScroll = new QScrollBar(Qt::Vertical, this);
    d_->vsbScroll->setObjectName("vsbScroll");
    d_->vsbScroll->setGeometry(twipsRect(5640, 480, 255, kViewportHeight));
    d_->vsbScroll->setTracking(false);
    d_->vsbScroll->setRange(0, 0);
    d_->vsbScroll->setEnabled(false);
    d_->picOne->setScrollBar(d_->vsbScroll);
    auto* barLook = new ThumbStyle(QStyleFactory::create(d_->vsbScroll->style()->name()));
    barLook->setParent(d_->vsbScroll);
    d_->vsbScroll->setStyle(barLook);
    connect(d_->vsbScroll, &QScrollBar::valueChanged, this, [this] { vsbScroll_Change(); });
    connect(d_->vsbScroll, &QScrollBar::sliderMoved, this, [this] { vsbScroll_Scroll(); });
}

FrmDSPDTA::~FrmDSPDTA() = default;

void FrmDSPDTA::DspDta(long long row, double Xi, double FXi, double DFXi) {
    DspDta(row, CellValue{Xi, 0}, CellValue{FXi, 0}, CellValue{DFXi, 0});
}

void FrmDSPDTA::DspDta(long long row, CellValue Xi, CellValue FXi, CellValue DFXi) {
    d_->run->setRow(row, {Xi, FXi, DFXi});
    showRows(row, row);
}

void FrmDSPDTA::showRows(long long /*from*/, long long to) {
    d_->picOne->touch();
    if (to > 0) Enable_Scroll();
}

void FrmDSPDTA::Dta_Clr() {
    d_->content.marked = -1;
    d_->barStale = false;
    d_->vsbScroll->setValue(0);
    d_->vsbScroll->setEnabled(false);
    if (d_->content.rows->size() > 0) d_->run->dropRows();
    d_->range = ScrollRange{};
    d_->picOne->update();
}

void FrmDSPDTA::Enable_Scroll() {
    if (kViewport <= d_->content.height()) {
        d_->range = ScrollRange::forMaximum(d_->content.height() - kViewport);
        // Where the bar at its maximum puts the content: the newest row in view.
        d_->content.top = -d_->range.toTwips(d_->range.barMaximum());
    }
    d_->barStale = true;
    if (!d_->held) syncBar();
}

void FrmDSPDTA::syncBar() {
    if (!d_->barStale) return;
    d_->barStale = false;
    QScrollBar* bar = d_->vsbScroll;
    if (kViewport > d_->content.height()) {
        bar->setEnabled(false);
        return;
    }
    bar->setRange(0, d_->range.barMaximum());
    // A line is one row, a page the rows the viewport shows whole.
    bar->setSingleStep(d_->range.steps(kPitch));
    bar->setPageStep(d_->range.steps(kViewport / kPitch * kPitch));
    bar->setEnabled(true);
    bar->setValue(d_->range.barMaximum());
}

void FrmDSPDTA::holdUpdates(bool hold) {
    d_->held = hold;
    if (!hold) syncBar();
}

void FrmDSPDTA::vsbScroll_Change() {
    // The thumb's position, which during a drag runs ahead of the committed value.
    d_->content.top = -d_->range.toTwips(d_->vsbScroll->sliderPosition());
    d_->picOne->update();
}

void FrmDSPDTA::vsbScroll_Scroll() {
    vsbScroll_Change();
}

void FrmDSPDTA::markRow(long long row) {
    d_->content.marked = row;
    if (row >= 0 && d_->vsbScroll->isEnabled()) {
        // The row at the top of the viewport, or as near as the bar goes.
        const long long steps = kPitch * row / d_->range.unit;
        d_->vsbScroll->setValue(
            static_cast<int>(std::min<long long>(steps, d_->range.barMaximum())));
    }
    d_->picOne->update();
}

long long FrmDSPDTA::markedRow() const {
    return d_->content.marked;
}

void FrmDSPDTA::Refresh() {
    syncBar();
    repaint();
}

long long FrmDSPDTA::rowCount() const {
    return d_->content.rowCount();
}

std::string FrmDSPDTA::cellText(int column, long long row) const {
    return d_->content.text(column, row);
}

CellValue FrmDSPDTA::cellValue(int column, long long row) const {
    return d_->content.value(column, row);
}

FittedText FrmDSPDTA::shownCell(int column, long long row) const {
    if (column < 0 || column >= kColumns) return {};
    const QString text = QString::fromStdString(cellText(column, row));
    return fittedCell(d_->picOne->columnFont(column), column, text, d_->picOne);
}

QFont FrmDSPDTA::cellFont(int column, long long row) const {
    return shownCell(column, row).font;
}

QString FrmDSPDTA::cellShownText(int column, long long row) const {
    return shownCell(column, row).text;
}

double FrmDSPDTA::cellTextWidth(int column) {
    if (column < 0 || column >= kColumns) return 0;
    return twipsToDip(kCellWidth[column]) - 2 * kTextMargin;
}

QString FrmDSPDTA::cellToolTip(int column, long long row) const {
    const CellValue v = cellValue(column, row);
    if (v.failure == kBlank) return {};
    if (column == 0) return QString::fromStdString(cellText(column, row));
    if (v.failure != 0) return QString::fromStdString(failureInfo(v.failure).name);
    return QString::fromStdString(fullNumberText(v.value));
}

double FrmDSPDTA::cellTop(long long row) const {
    return static_cast<double>(kPitch * row);
}

QRectF FrmDSPDTA::cellRect(int column, long long row) const {
    if (column < 0 || column >= kColumns) return {};
    return d_->content.cellRect(column, row);
}

std::pair<int, long long> FrmDSPDTA::cellAt(QPointF pos) const {
    return d_->picOne->cellAt(pos);
}

QWidget* FrmDSPDTA::rowsView() const {
    return d_->picOne;
}

double FrmDSPDTA::contentHeight() const {
    return static_cast<double>(d_->content.height());
}

double FrmDSPDTA::contentTop() const {
    return static_cast<double>(d_->content.top);
}

QScrollBar* FrmDSPDTA::vsbScroll() const {
    return d_->vsbScroll;
}

const RowStore& FrmDSPDTA::rows() const {
    return *d_->content.rows;
}

}  // namespace quorel

#include "frm_dspdta.moc"
