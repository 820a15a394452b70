#include "app/worksheet.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <functional>

#include "common/form_geometry.h"
#include "graph/frm_graph.h"
#include "table/convergence_plot.h"
#include "table/frm_convergence.h"
#include "table/frm_dspdta.h"

namespace quorel {
namespace {

// Pictures are painted at no more than this many dots per inch.
constexpr double kPictureDpi = 300;
constexpr double kMarginMm = 15;
const char* const kHeaders[] = {"times i", "Xi", "f(Xi)", "f'(Xi)"};
// Right edges of the table's columns, as shares of the text width.
constexpr double kColumnRight[] = {0.10, 0.40, 0.70, 1.0};

// Lays the worksheet out from top to bottom, page after page.
class Sheet {
  public:
    explicit Sheet(QPagedPaintDevice& device)
        : device_(device), painter_(&device), pt_(device.logicalDpiY() / 72.0) {
        const QRect area = painter_.viewport();
        width_ = area.width();
        height_ = area.height();
    }
    bool ok() const { return painter_.isActive(); }
    QPainter& painter() { return painter_; }
    double pt() const { return pt_; }
    double width() const { return width_; }

    QFont font(double points, bool bold = false) const {
        return formFont("Liberation Sans", points, bold);
    }
    // Room for `h` more below the cursor, on a new page if need be (which
    // starts with `onNewPage`).
    void room(double h) {
        if (y_ + h <= height_ || y_ == 0) return;
        device_.newPage();
        y_ = 0;
        if (onNewPage) onNewPage();
    }
    std::function<void()> onNewPage;
    // A paragraph that wraps at the text width.
    void text(const QString& s, const QFont& f, double gapAfter = 0) {
        painter_.setFont(f);
        const QRectF box = painter_.boundingRect(QRectF(0, 0, width_, 1e9), Qt::TextWordWrap, s);
        room(box.height());
        painter_.drawText(QRectF(0, y_, width_, box.height()), Qt::TextWordWrap, s);
        y_ += box.height() + gapAfter;
    }
    // A picture `h` tall across the text width, drawn by `draw` into its box.
    template <class Draw>
    void picture(double h, Draw draw) {
        room(h);
        draw(QRectF(0, y_, width_, h));
        y_ += h + 8 * pt_;
    }
    // One row of the table: four texts, each right-aligned in its column.
    void row(const std::string (&cells)[4], const QFont& f) {
        painter_.setFont(f);
        const double h = QFontMetricsF(f, &device_).lineSpacing() * 1.15;
        room(h);
        for (int c = 0; c < 4; ++c) {
            const double left = c == 0 ? 0 : kColumnRight[c - 1] * width_;
            painter_.drawText(QRectF(left, y_, kColumnRight[c] * width_ - left, h),
                              Qt::AlignRight | Qt::AlignVCenter, QString::fromStdString(cells[c]));
        }
        y_ += h;
    }

  private:
    QPagedPaintDevice& device_;
    QPainter painter_;
    double pt_;
    double width_ = 0, height_ = 0;
    double y_ = 0;
};

// The graph as shown into `box` (kept in proportion): its drawing painted
// afresh, then the labels, the outcome line and the basin strip over it.
void drawGraph(QPainter& p, const QRectF& box, PlotSurface& surface, double devicePerInch) {
    const QSizeF inner(surface.width() - 4, surface.height() - 4);
    if (inner.isEmpty()) return;
    const double k = std::min(box.width() / inner.width(), box.height() / inner.height());
    const QRectF target(box.topLeft(), inner * k);
    const double dpr = std::min(k, k * kPictureDpi / devicePerInch);
    p.drawImage(target, surface.imageAt(dpr));
    p.save();
    p.translate(target.topLeft());
    p.scale(k, k);
    p.translate(-2, -2);
    for (QWidget* child : surface.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isHidden() || child->objectName() == "pointerCoordinates") continue;
        child->render(&p, child->pos(), QRegion(), QWidget::DrawChildren);
    }
    p.restore();
    p.setPen(Qt::black);
    p.drawRect(target);
}

void drawConvergence(QPainter& p, const QRectF& box, FrmConvergence& convergence) {
    ConvergencePlot plot(convergence.figures());
    plot.setAttribute(Qt::WA_DontShowOnScreen);
    const QSize size(640, 320);
    plot.resize(size);
    plot.markPass(convergence.plot().markedPass());
    const double k = std::min(box.width() / size.width(), box.height() / size.height());
    p.save();
    p.translate(box.topLeft());
    p.scale(k, k);
    plot.render(&p, QPoint(), QRegion(), QWidget::DrawChildren);
    p.restore();
}

}  // namespace

bool paintWorksheet(QPagedPaintDevice& device, const WorksheetParts& parts) {
    Sheet sheet(device);
    if (!sheet.ok()) return false;
    const double pt = sheet.pt();
    auto q = [](const std::string& s) { return QString::fromStdString(s); };
    const WorksheetInputs& in = parts.inputs;
    sheet.text("Tangent-line iteration", sheet.font(14, true), 6 * pt);
    sheet.text("Input f(x)= " + q(in.fx), sheet.font(11, true), 2 * pt);
    sheet.text("initial value= " + q(in.initialValue) + "      error= " + q(in.tolerance) +
                   "      Loops = " + q(in.loops),
               sheet.font(10), 6 * pt);
    sheet.text(q(parts.outcome.empty() ? "Not calculated yet." : parts.outcome),
               sheet.font(10, true), 8 * pt);

    PlotSurface& surface = parts.graph.picThree();
    const double aspect = double(surface.height()) / std::max(1, surface.width());
    const double graphH = std::min(sheet.width() * aspect, 300 * pt);
    sheet.picture(graphH, [&](const QRectF& box) {
        drawGraph(sheet.painter(), box, surface, device.logicalDpiX());
    });
    sheet.picture(sheet.width() / 2, [&](const QRectF& box) {
        drawConvergence(sheet.painter(), box, parts.convergence);
    });

    const QFont head = sheet.font(9, true), cells = sheet.font(9);
    const std::string headers[4] = {kHeaders[0], kHeaders[1], kHeaders[2], kHeaders[3]};
    sheet.row(headers, head);
    // Every page of the table starts with its header.
    sheet.onNewPage = [&] { sheet.row(headers, head); };
    const FrmDSPDTA& t = parts.table;
    for (long long r = 0; r < t.rowCount(); ++r) {
        const std::string row[4] = {t.cellText(0, r), t.cellText(1, r), t.cellText(2, r),
                                    t.cellText(3, r)};
        sheet.row(row, cells);
    }
    return true;
}

bool saveWorksheetPdf(const std::string& fileName, const WorksheetParts& parts) {
    QPdfWriter pdf(QString::fromStdString(fileName));
    pdf.setResolution(600);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                       QPageLayout::Millimeter);
    pdf.setTitle("Tangent-line iteration worksheet");
    pdf.setCreator("quorel");
    return paintWorksheet(pdf, parts);
}

}  // namespace quorel
