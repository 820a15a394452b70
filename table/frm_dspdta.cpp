#include "table/frm_dspdta.h"

#include <QFrame>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "common/failure.h"
#include "common/form_geometry.h"
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

QRectF twipsRectF(double left, double top, double width, double height) {
    return QRectF(twipsToDip(left), twipsToDip(top), twipsToDip(width), twipsToDip(height));
}

// What a value that was not computed shows instead of a number.
const char* failureName(int failure) {
    switch (failure) {
        case kErrOverflow:
            return "overflow";
        case kErrDomain:
            return "domain";
        case kErrDivZero:
            return "division";
        case kErrMissing:
            return "missing";
        default:
            return "failed";
    }
}

// picTwo: the rows and the content panel's place inside the viewport.
struct Content {
    RowStore rows;      // rows 0..n; none after a clear, when row 0 shows blank
    long long top = 0;  // twips, -position

    long long rowCount() const { return std::max(1LL, rows.size()); }
    // One pitch more than the rows occupy.
    long long height() const { return kPitch * (rows.size() + 1); }

    CellValue value(int column, long long row) const {
        if (column < 0 || column >= kColumns || row < 0 || row >= rows.size())
            return {0.0, FrmDSPDTA::kBlank};
        if (column == 0) return {static_cast<double>(row), 0};
        return rows.at(row, column - 1);
    }

    std::string text(int column, long long row) const {
        const CellValue v = value(column, row);
        if (v.failure == FrmDSPDTA::kBlank) return {};
        if (column == 0) return std::to_string(row) + ".";
        if (v.failure != 0) return failureName(v.failure);
        const CellKind kind = column == 3 ? CellKind::Slope : CellKind::Value;
        return quorel::cellText(v.value, decimalCount(v.value, kind));
    }
};

// picOne: the fixed viewport; paints only the rows that show.
class Viewport : public QWidget {
    Q_OBJECT
  public:
    Viewport(const Content& content, QWidget* parent) : QWidget(parent), content_(content) {
        setObjectName("picOne");
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    void setCellFonts(const std::array<QFont, kColumns>& fonts) { fonts_ = fonts; }

  protected:
    void paintEvent(QPaintEvent* event) override {
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
            for (int c = 0; c < kColumns; ++c) {
                const QRectF cell =
                    twipsRectF(kCellLeft[c], top, kCellWidth[c], static_cast<double>(kCellHeight));
                p.fillRect(cell, cellBack[c]);
                const std::string text = content_.text(c, row);
                if (text.empty()) continue;
                p.setClipRect(cell);
                p.setFont(fonts_[c]);
                p.setPen(cellFore[c]);
                p.drawText(cell, Qt::AlignRight | Qt::AlignTop,
                           QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
                p.setClipping(false);
            }
        }
    }

  private:
    const Content& content_;
    std::array<QFont, kColumns> fonts_;
};

QLabel* headerLabel(QWidget* frame, const char* name, const char* text, double points,
                    Qt::Alignment align, QRect geometry) {
    auto* label = new QLabel(QString::fromLatin1(text), frame);
    label->setObjectName(name);
    label->setFont(formFont(kFaceTimes, points, false));
    label->setAlignment(align | Qt::AlignTop);
    label->setGeometry(geometry);
    return label;
}

}  // namespace

class FrmDSPDTA::Impl {
  public:
    explicit Impl(ProgramState& s) : state(s) {}

    ProgramState& state;
    Content content;
    ScrollRange range;
    Viewport* picOne = nullptr;
    QScrollBar* vsbScroll = nullptr;
};

FrmDSPDTA::FrmDSPDTA(ProgramState& state, QWidget* parent)
    : QWidget(parent), d_(std::make_unique<Impl>(state)) {
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
    QFont valueFont = windowFont;
    valueFont.setPointSizeF(9);
    QFont slopeFont = windowFont;
    slopeFont.setPointSizeF(9.75);
    d_->picOne->setCellFonts({windowFont, valueFont, valueFont, slopeFont});

    // Tracking off: a drag reports through sliderMoved and commits the
    // position when the thumb is let go, as the bar's Scroll and Change do.
    d_->vsbScroll = new QScrollBar(Qt::Vertical, this);
    d_->vsbScroll->setObjectName("vsbScroll");
    d_->vsbScroll->setGeometry(twipsRect(5640, 480, 255, kViewportHeight));
    d_->vsbScroll->setTracking(false);
    d_->vsbScroll->setRange(0, 0);
    d_->vsbScroll->setEnabled(false);
    connect(d_->vsbScroll, &QScrollBar::valueChanged, this, [this] { vsbScroll_Change(); });
    connect(d_->vsbScroll, &QScrollBar::sliderMoved, this, [this] { vsbScroll_Scroll(); });
}

FrmDSPDTA::~FrmDSPDTA() = default;

void FrmDSPDTA::DspDta(double Xi, double FXi, double DFXi) {
    DspDta(CellValue{Xi, 0}, CellValue{FXi, 0}, CellValue{DFXi, 0});
}

void FrmDSPDTA::DspDta(CellValue Xi, CellValue FXi, CellValue DFXi) {
    const long long n = d_->state.IterCount;
    d_->content.rows.set(n, {Xi, FXi, DFXi});
    d_->picOne->update();
    if (n > 0) Enable_Scroll();
}

void FrmDSPDTA::Dta_Clr() {
    d_->vsbScroll->setValue(0);
    d_->vsbScroll->setEnabled(false);
    d_->content.rows.clear();
    d_->range = ScrollRange{};
    d_->state.IterCount = 0;
    d_->picOne->update();
}

void FrmDSPDTA::Enable_Scroll() {
    QScrollBar* bar = d_->vsbScroll;
    if (kViewport > d_->content.height()) {
        bar->setEnabled(false);
        return;
    }
    d_->range = ScrollRange::forMaximum(d_->content.height() - kViewport);
    bar->setRange(0, d_->range.barMaximum());
    bar->setPageStep(d_->range.pageStep());
    bar->setSingleStep(d_->range.lineStep());
    bar->setEnabled(true);
    bar->setValue(d_->range.barMaximum());
}

void FrmDSPDTA::vsbScroll_Change() {
    // The thumb's position, which during a drag runs ahead of the committed value.
    d_->content.top = -d_->range.toTwips(d_->vsbScroll->sliderPosition());
    d_->picOne->update();
}

void FrmDSPDTA::vsbScroll_Scroll() {
    vsbScroll_Change();
}

void FrmDSPDTA::Refresh() {
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

double FrmDSPDTA::cellTop(long long row) const {
    return static_cast<double>(kPitch * row);
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

}  // namespace quorel

#include "frm_dspdta.moc"
