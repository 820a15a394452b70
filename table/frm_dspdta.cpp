#include "table/frm_dspdta.h"

#include <QCoreApplication>
#include <QFrame>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QScrollBar>
#include <QStyleFactory>
#include <QStyleOptionComplex>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "common/failure.h"
#include "common/form_geometry.h"
#include "common/numtext.h"
#include "common/text_fit.h"
#include "common/twips.h"
#include "table/cell_format.h"
#include "table/scroll_range.h"

namespace quorel {
namespace {

constexpr int kColumns = 4;
constexpr long long kPitch = FrmDSPDTA::kRowPitch;
constexpr long long kViewport = FrmDSPDTA::kViewportHeight;
constexpr long long kCellHeight = 255;

// LabLops, LabRoot, LabFx, LabError: Left and Width inside the content.
constexpr std::array<double, kColumns> kCellLeft = {0, 600, 2160, 3720};
constexpr std::array<double, kColumns> kCellWidth = {495, 1455, 1455, 1695};

const QColor kContentBack(0, 0, 192);
const QColor kMarkedBack(255, 200, 120);

QRectF twipsRectF(double left, double top, double width, double height) {
    return QRectF(twipsToDip(left), twipsToDip(top), twipsToDip(width), twipsToDip(height));
}

// picTwo: the rows and the content panel's place inside the viewport.
struct Content {
    const RowStore* rows = nullptr;  // the run's rows 0..n; none: row 0 shows blank
    long long top = 0;               // twips, -position
    long long marked = -1;

    long long rowCount() const { return std::max(1LL, rows->size()); }
    // One pitch more than the rows occupy.
    long long height() const { return kPitch * (rows->size() + 1); }

    CellValue value(int column, long long row) const {
        if (column < 0 || column >= kColumns || row < 0 || row >= rows->size())
            return {0.0, FrmDSPDTA::kBlank};
        if (column == 0) return {static_cast<double>(row), 0};
        return rows->at(row, column - 1);
    }

    std::string text(int column, long long row) const {
        const CellValue v = value(column, row);
        if (v.failure == FrmDSPDTA::kBlank) return {};
        if (column == 0) return std::to_string(row) + ".";
        if (v.failure != 0) return failureInfo(v.failure).cell;
        const CellKind kind = column == 3 ? CellKind::Slope : CellKind::Value;
        return quorel::cellText(v.value, decimalCount(v.value, kind));
    }
};

// Row numbers are never drawn smaller than this; a longer one is shortened.
constexpr qreal kRowNumberFloorPoints = 7.0;

// A cell's text as drawn: in its column's font, made smaller where the text
// would not fit the cell with a pixel of background on each side.
FittedText fittedCell(const QFont& columnFont, int column, const QString& text,
                      const QPaintDevice* device) {
    return fittedText(columnFont, text, FrmDSPDTA::cellTextWidth(column),
                      column == 0 ? kRowNumberFloorPoints : 0.0, device);
}

// picOne: the fixed viewport; paints only the rows that show. The wheel over
// it turns the scroll bar, as over the bar itself, and so do the keys once a
// click or Tab has given it the focus.
class Viewport : public QWidget {
    Q_OBJECT
  public:
    Viewport(const Content& content, QWidget* parent) : QWidget(parent), content_(content) {
        setObjectName("picOne");
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFocusPolicy(Qt::StrongFocus);
    }

    void setCellFonts(const std::array<QFont, kColumns>& fonts) { fonts_ = fonts; }
    const QFont& columnFont(int column) const { return fonts_[column]; }
    void setScrollBar(QScrollBar* bar) { bar_ = bar; }
    // Marks the viewport for repainting, once until it is next painted: rows
    // come far faster than frames, and whatever paints next (a refresh, a
    // message box over it) shows them all.
    void touch() {
        if (dirty_) return;
        dirty_ = true;
        update();
    }

    // The cell under a point of the viewport: column and row, or column -1.
    std::pair<int, long long> cellAt(QPointF pos) const {
        const double x = pxToTwips(pos.x());
        const double y = pxToTwips(pos.y()) - static_cast<double>(content_.top);
        if (y < 0) return {-1, 0};
        const auto row = static_cast<long long>(y / kPitch);
        if (row >= content_.rowCount() || y - static_cast<double>(row * kPitch) >= kCellHeight)
            return {-1, 0};
        for (int c = 0; c < kColumns; ++c) {
            if (x >= kCellLeft[c] && x < kCellLeft[c] + kCellWidth[c]) return {c, row};
        }
        return {-1, 0};
    }

    std::function<QString(int, long long)> toolTip;

  protected:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::ToolTip) {
            auto* help = static_cast<QHelpEvent*>(e);
            const auto [column, row] = cellAt(help->pos());
            const QString tip = column >= 0 && toolTip ? toolTip(column, row) : QString();
            if (tip.isEmpty()) {
                QToolTip::hideText();
                e->ignore();
            } else {
                QToolTip::showText(help->globalPos(), tip, this);
            }
            return true;
        }
        if (e->type() == QEvent::FocusIn || e->type() == QEvent::FocusOut) update();  // the frame
        return QWidget::event(e);
    }

    void wheelEvent(QWheelEvent* e) override {
        if (bar_ && bar_->isEnabled()) {
            QCoreApplication::sendEvent(bar_, e);
        } else {
            e->ignore();
        }
    }

    void keyPressEvent(QKeyEvent* e) override {
        const auto action = [e] {
            switch (e->key()) {
                case Qt::Key_Up:
                    return QAbstractSlider::SliderSingleStepSub;
                case Qt::Key_Down:
                    return QAbstractSlider::SliderSingleStepAdd;
                case Qt::Key_PageUp:
                    return QAbstractSlider::SliderPageStepSub;
                case Qt::Key_PageDown:
                    return QAbstractSlider::SliderPageStepAdd;
                case Qt::Key_Home:
                    return QAbstractSlider::SliderToMinimum;
                case Qt::Key_End:
                    return QAbstractSlider::SliderToMaximum;
                default:
                    return QAbstractSlider::SliderNoAction;
            }
        }();
        if (action == QAbstractSlider::SliderNoAction || !bar_ || !bar_->isEnabled()) {
            QWidget::keyPressEvent(e);
            return;
        }
        bar_->triggerAction(action);
    }

    void paintEvent(QPaintEvent* event) override {
        dirty_ = false;
        QPainter p(this);
        p.fillRect(event->rect(), kContentBack);
        const QColor cellBack[kColumns] = {kContentBack, QColor(192, 255, 192),
                                           palette().color(QPalette::Window),
                                           QColor(192, 192, 255)};
        const QColor cellFore[kColumns] = {Qt::white, palette().color(QPalette::WindowText),
                                           palette().color(QPalette::WindowText),
                                           palette().color(QPalette::WindowText)};
        const long long shown = static_cast<long long>(pxToTwips(height()));
        const long long first = std::max(0LL, (-content_.top - kCellHeight) / kPitch);
        const long long last = std::min(content_.rowCount() - 1, (shown - content_.top) / kPitch);
        for (long long row = first; row <= last; ++row) {
            const double top = static_cast<double>(content_.top + kPitch * row);
            const bool marked = row == content_.marked;
            for (int c = 0; c < kColumns; ++c) {
                const QRectF cell =
                    twipsRectF(kCellLeft[c], top, kCellWidth[c], static_cast<double>(kCellHeight));
                p.fillRect(cell, marked ? kMarkedBack : cellBack[c]);
                const QString text = QString::fromStdString(content_.text(c, row));
                if (text.isEmpty()) continue;
                p.setClipRect(cell);
                const FittedText shown = fittedCell(fonts_[c], c, text, this);
                p.setFont(shown.font);
                p.setPen(marked ? QColor(Qt::black) : cellFore[c]);
                p.drawText(cell.adjusted(kTextMargin, 0, -kTextMargin, 0),
                           Qt::AlignRight | Qt::AlignTop, shown.text);
                p.setClipping(false);
            }
        }
        if (hasFocus()) {
            // Where the keys go: a frame of black and white dashes, seen on
            // the blue and on the cells alike.
            const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(Qt::white, 1));
            p.drawRect(frame);
            p.setPen(QPen(Qt::black, 1, Qt::DashLine));
            p.drawRect(frame);
        }
    }

  private:
    const Content& content_;
    std::array<QFont, kColumns> fonts_;
    QScrollBar* bar_ = nullptr;
    bool dirty_ = false;
};

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
    Viewport* picOne = nullptr;
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

    d_->picOne = new Viewport(d_->content, this);
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
    return twipsRectF(kCellLeft[column], contentTop() + cellTop(row), kCellWidth[column],
                      static_cast<double>(kCellHeight));
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
