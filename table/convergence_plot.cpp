#include "table/convergence_plot.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace quorel {

const QColor ConvergencePlot::kFxColor(0, 0, 255);
const QColor ConvergencePlot::kStepColor(208, 0, 0);
const QColor ConvergencePlot::kMarkColor(255, 140, 0);

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
// Up to this many passes per pixel column each pass is drawn as a point.
constexpr double kPointsPerColumn = 0.25;
constexpr double kPointRadius = 2.5;

// One series over one pixel column: its lowest and highest value, the first
// and the last (as sizes; their logarithms are taken once per column), and
// whether an exact 0 (log -infinity) fell there.
struct Column {
    double lo = kInf, hi = 0, first = 0, last = 0;
    bool any = false, zero = false, gapBefore = false;
};

struct Series {
    std::vector<Column> columns;
    bool pending = false;  // a gap since the last value

    void add(int c, const Figure& f) {
        Column& col = columns[static_cast<std::size_t>(c)];
        if (!f.isNumber() || f.value == 0.0) {
            col.zero = col.zero || f.isNumber();
            pending = true;
            return;
        }
        if (!col.any) {
            col.first = f.value;
            col.gapBefore = pending;
        }
        pending = false;
        col.any = true;
        col.lo = std::min(col.lo, f.value);
        col.hi = std::max(col.hi, f.value);
        col.last = f.value;
    }
    // The columns in log10, and the lowest and highest of them.
    void toLog(double& lo, double& hi) {
        for (Column& col : columns) {
            if (!col.any) continue;
            col.lo = std::log10(col.lo);
            col.hi = std::log10(col.hi);
            col.first = std::log10(col.first);
            col.last = std::log10(col.last);
            lo = std::min(lo, col.lo);
            hi = std::max(hi, col.hi);
        }
    }
};

}  // namespace

ConvergencePlot::ConvergencePlot(const ConvergenceFigures& figures, QWidget* parent)
    : QWidget(parent), figures_(figures) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(160, 100);
}

void ConvergencePlot::markPass(long long pass) {
    if (pass == marked_) return;
    marked_ = pass;
    update();
}

void ConvergencePlot::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QFontMetricsF fm(font());
    const double dpr = devicePixelRatioF();
    const QRectF area(fm.horizontalAdvance("-000") + 10, fm.height() + 8,
                      width() - fm.horizontalAdvance("-000") - 22, height() - 2 * fm.height() - 14);
    if (area.width() < 4 || area.height() < 4) return;

    // One pixel column of the device per slot across the area.
    const long long n = figures_.size();
    const int pixelColumns = std::max(1, static_cast<int>(area.width() * dpr));
    const bool points = n <= 1 || static_cast<double>(n) <= kPointsPerColumn * pixelColumns;
    const int columns = points ? static_cast<int>(std::max(1LL, n)) : pixelColumns;
    auto columnOf = [&](long long i) {
        if (points) return static_cast<int>(i);
        return static_cast<int>(std::min<long long>(pixelColumns - 1, i * pixelColumns / n));
    };
    auto xOfColumn = [&](int c) {
        if (points) return n <= 1 ? area.center().x() : area.left() + area.width() * c / (n - 1);
        return area.left() + (c + 0.5) / dpr;
    };
    Series fx{std::vector<Column>(static_cast<std::size_t>(columns))};
    Series step{std::vector<Column>(static_cast<std::size_t>(columns))};
    double lo = kInf, hi = -kInf;
    figures_.scan([&](long long i, const Figure& absFx, const Figure& absStep) {
        const int c = columnOf(i);
        fx.add(c, absFx);
        step.add(c, absStep);
    });
    fx.toLog(lo, hi);
    step.toLog(lo, hi);
    if (lo > hi) lo = hi = 0;
    lo = std::floor(lo) - 1;  // a band below the lowest value for exact zeros
    hi = std::ceil(hi);
    if (hi - lo < 2) hi = lo + 2;
    auto yOf = [&](double v) { return area.bottom() - (v - lo) / (hi - lo) * area.height(); };

    // Axes, decades and passes.
    p.setPen(QPen(Qt::black, 0));
    p.drawLine(area.bottomLeft(), area.topLeft());
    p.drawLine(area.bottomLeft(), area.bottomRight());
    const int decadeStep =
        std::max(1, static_cast<int>(std::ceil((hi - lo) * fm.height() * 1.5 / area.height())));
    for (int d = static_cast<int>(hi); d >= lo; d -= decadeStep) {
        const double y = yOf(d);
        p.setPen(QPen(QColor(225, 225, 225), 0));
        p.drawLine(QPointF(area.left() + 1, y), QPointF(area.right(), y));
        p.setPen(QPen(Qt::black, 0));
        p.drawText(QRectF(0, y - fm.height() / 2, area.left() - 4, fm.height()),
                   Qt::AlignRight | Qt::AlignVCenter, QString::number(d));
    }
    const long long lastPass = std::max(1LL, n - 1);
    const long long passStep =
        std::max(1LL, static_cast<long long>(std::ceil(lastPass * fm.horizontalAdvance("0000000") /
                                                       std::max(1.0, area.width()))));
    for (long long i = 0; i <= lastPass; i += passStep) {
        const double x = points ? xOfColumn(static_cast<int>(i))
                                : area.left() + area.width() * static_cast<double>(i) / n;
        p.drawLine(QPointF(x, area.bottom()), QPointF(x, area.bottom() + 3));
        p.drawText(QRectF(x - 40, area.bottom() + 3, 80, fm.height()), Qt::AlignHCenter,
                   QString::number(i));
    }
    p.setPen(kStepColor);
    p.drawText(QRectF(area.left(), 2, area.width(), fm.height()), Qt::AlignRight,
               QStringLiteral("log10 |X(i+1)-X(i)|"));
    p.setPen(kFxColor);
    p.drawText(QRectF(area.left(), 2, area.width(), fm.height()), Qt::AlignLeft,
               QStringLiteral("log10 |f(Xi)|"));

    if (marked_ >= 0 && marked_ < n) {
        const double x = xOfColumn(columnOf(marked_));
        p.setPen(QPen(kMarkColor, 2));
        p.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
    }

    auto draw = [&](const Series& s, const QColor& colour) {
        p.setPen(QPen(colour, points ? 1.5 : 1.0));
        p.setBrush(colour);
        QPainterPath path;
        bool open = false;
        for (int c = 0; c < columns; ++c) {
            const Column& col = s.columns[static_cast<std::size_t>(c)];
            const double x = xOfColumn(c);
            if (col.zero) {
                const double y = area.bottom() - 1;
                const QPointF tri[3] = {{x - 3, y - 6}, {x + 3, y - 6}, {x, y}};
                p.drawPolygon(tri, 3);
            }
            if (!col.any) {
                open = open && !points;
                continue;
            }
            if (open && !col.gapBefore)
                path.lineTo(x, yOf(col.first));
            else
                path.moveTo(x, yOf(col.first));
            if (col.hi > col.lo) {
                path.moveTo(x, yOf(col.lo));
                path.lineTo(x, yOf(col.hi));
                path.moveTo(x, yOf(col.last));
            }
            open = true;
            if (points) p.drawEllipse(QPointF(x, yOf(col.first)), kPointRadius, kPointRadius);
        }
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    };
    draw(fx, kFxColor);
    draw(step, kStepColor);
}

}  // namespace quorel
