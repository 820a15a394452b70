#include "graph/basin_strip.h"

#include <QEvent>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>
#include <cmath>

#include "common/numtext.h"

namespace quorel {
namespace {

// Inside the surface's 2-pixel border.
constexpr int kBorder = 2;
// Colours told apart by most eyes, for the roots in the order found.
const QColor kRootColours[] = {{230, 159, 0},  {86, 180, 233}, {0, 158, 115}, {204, 121, 167},
                               {240, 228, 66}, {0, 114, 178},  {213, 94, 0}};
const QColor kPendingColour(255, 255, 255);
// The accessible description lists at most this many stretches, the widest.
constexpr std::size_t kMostStretches = 24;

// A world x written with the decimals one column resolves.
std::string xText(double x, double perColumn) {
    const double d = std::ceil(-std::log10(std::fabs(perColumn)));
    const int decimals = std::isfinite(d) ? static_cast<int>(std::clamp(d, 1.0, 15.0)) : 3;
    return numberToText(roundHalfEven(x, decimals) + 0.0);
}

}  // namespace

BasinStrip::BasinStrip(QWidget* surface, std::function<double(double)> worldXAt)
    : QWidget(surface), worldXAt_(std::move(worldXAt)) {
    setObjectName("basins");
    setAccessibleName("Basin strip");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    surface->installEventFilter(this);
    place();
    hide();
}

void BasinStrip::place() {
    const QWidget* s = parentWidget();
    setGeometry(kBorder, s->height() - kBorder - kHeight, std::max(0, s->width() - 2 * kBorder),
                kHeight);
}

std::vector<double> BasinStrip::viewXs() const {
    const double dpr = devicePixelRatioF();
    const int n = static_cast<int>(std::lround(width() * dpr));
    std::vector<double> xs(std::max(0, n));
    for (int c = 0; c < n; ++c) xs[c] = worldXAt_(x() + (c + 0.5) / dpr);
    return xs;
}

void BasinStrip::refreshColumns() {
    if (isHidden()) return;
    std::vector<double> xs = viewXs();
    if (!picture_.xs.empty() && xs == picture_.xs) return;
    picture_ = BasinPicture{};
    picture_.xs = xs;
    picture_.columns.assign(xs.size(), BasinPicture::kPending);
    update();
    emit columnsWanted(xs);
}

void BasinStrip::forget() {
    picture_ = BasinPicture{};
    update();
}

void BasinStrip::setPicture(const BasinPicture& picture) {
    if (picture.xs != picture_.xs) return;
    picture_ = picture;
    setAccessibleDescription(describe());
    update();
}

QColor BasinStrip::entryColour(const BasinEntry& e) {
    switch (e.kind) {
        case BasinKind::Root:
            return kRootColours[e.rootIndex % std::size(kRootColours)];
        case BasinKind::LoopLimit:
            return QColor(150, 150, 150);
        case BasinKind::NoRootShown:
            return QColor(185, 185, 185);
        case BasinKind::SlowRoot:
            return QColor(215, 215, 215);
        case BasinKind::ZeroSlope:
            return QColor(110, 110, 110);
        case BasinKind::Uncomputable:
            return QColor(70, 70, 70);
    }
    return kPendingColour;
}

QColor BasinStrip::columnColour(int column) const {
    if (column < 0 || column >= static_cast<int>(picture_.columns.size())) return kPendingColour;
    const int e = picture_.columns[column];
    return e == BasinPicture::kPending ? kPendingColour : entryColour(picture_.legend[e]);
}

void BasinStrip::paintEvent(QPaintEvent*) {
    const double dpr = devicePixelRatioF();
    const int n = static_cast<int>(picture_.columns.size());
    QImage row(std::max(1, n), 1, QImage::Format_RGB32);
    row.fill(kPendingColour);
    for (int c = 0; c < n; ++c) row.setPixel(c, 0, columnColour(c).rgb());
    QPainter p(this);
    if (n != static_cast<int>(std::lround(width() * dpr))) {
        p.fillRect(rect(), kPendingColour);  // a new width, its columns on the way
        return;
    }
    p.drawImage(QRectF(0, 0, n / dpr, height()), row);
}

int BasinStrip::columnAt(double x) const {
    const int c = static_cast<int>(std::floor(x * devicePixelRatioF()));
    return c >= 0 && c < static_cast<int>(picture_.xs.size()) ? c : -1;
}

QString BasinStrip::nameAt(double x) const {
    const int c = columnAt(x);
    if (c < 0) return {};
    const int e = picture_.columns[c];
    if (e == BasinPicture::kPending) return {};
    return QString::fromStdString(picture_.legend[e].name);
}

QString BasinStrip::describe() const {
    const auto& cols = picture_.columns;
    if (cols.empty() || !picture_.complete()) return {};
    const double perColumn =
        cols.size() > 1 ? (picture_.xs.back() - picture_.xs.front()) / (cols.size() - 1) : 1.0;
    struct Stretch {
        std::size_t from, to;
    };
    std::vector<Stretch> stretches;
    for (std::size_t c = 0; c < cols.size(); ++c) {
        if (c > 0 && cols[c] == cols[c - 1])
            stretches.back().to = c;
        else
            stretches.push_back({c, c});
    }
    std::vector<Stretch> shown = stretches;
    if (shown.size() > kMostStretches) {
        std::stable_sort(shown.begin(), shown.end(), [](const Stretch& a, const Stretch& b) {
            return a.to - a.from > b.to - b.from;
        });
        shown.resize(kMostStretches);
        std::sort(shown.begin(), shown.end(),
                  [](const Stretch& a, const Stretch& b) { return a.from < b.from; });
    }
    std::string text;
    for (const Stretch& s : shown) {
        if (!text.empty()) text += "; ";
        text += "x from " + xText(picture_.xs[s.from], perColumn) + " to " +
                xText(picture_.xs[s.to], perColumn) + ": " + picture_.legend[cols[s.from]].name;
    }
    if (shown.size() < stretches.size())
        text += "; " + std::to_string(stretches.size() - shown.size()) +
                " narrower stretches not listed";
    return QString::fromStdString(text);
}

void BasinStrip::mousePressEvent(QMouseEvent* e) {
    const int c = columnAt(e->position().x());
    if (c >= 0) emit columnClicked(picture_.xs[c]);
    e->accept();
}

bool BasinStrip::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(e);
        const QString name = nameAt(help->pos().x());
        if (name.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), name, this);
        return true;
    }
    return QWidget::event(e);
}

bool BasinStrip::eventFilter(QObject* watched, QEvent* e) {
    if (watched == parentWidget() && e->type() == QEvent::Resize) {
        place();
        refreshColumns();
    }
    return QWidget::eventFilter(watched, e);
}

void BasinStrip::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    refreshColumns();
}

}  // namespace quorel
