#include "common/form_geometry.h"

#include <QFontDatabase>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

#include "common/twips.h"

namespace quorel {

void installFontFallbacks() {
    QFont::insertSubstitutions(kFaceTimes, {"Liberation Serif", "DejaVu Serif"});
    QFont::insertSubstitutions(QString::fromUtf8(kFaceKai),
                               {"AR PL UKai TW", "AR PL UKai CN", "AR PL UMing TW"});
    QFont::insertSubstitutions(kFaceCells, {"DejaVu Sans Condensed", "Liberation Sans"});
}

QFont formFont(const char* face, double points, bool bold) {
    QFont f(QString::fromUtf8(face));
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

QRect twipsRect(double left, double top, double width, double height) {
    const int l = twipsToPx(left);
    const int t = twipsToPx(top);
    return QRect(l, t, twipsToPx(left + width) - l, twipsToPx(top + height) - t);
}

QWidget* outerWindow(QWidget* form) {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(form->parentWidget())) return sub;
    return form->window();
}

QRect outerGeometryTwips(QWidget* form) {
    QWidget* w = outerWindow(form);
    const QRect g = w->isWindow() ? w->frameGeometry() : w->geometry();
    return QRect(static_cast<int>(pxToTwips(g.x())), static_cast<int>(pxToTwips(g.y())),
                 static_cast<int>(pxToTwips(g.width())), static_cast<int>(pxToTwips(g.height())));
}

void setOuterGeometryTwips(QWidget* form, double left, double top, double width, double height) {
    QWidget* w = outerWindow(form);
    const QRect r = twipsRect(left, top, width, height);
    if (w->isWindow()) {
        // Top-level windows are placed by their frame; size the frame's outer edge.
        const QRect frame = w->frameGeometry();
        const QRect inner = w->geometry();
        const int dw = frame.width() - inner.width();
        const int dh = frame.height() - inner.height();
        w->move(r.topLeft());
        w->resize(std::max(1, r.width() - dw), std::max(1, r.height() - dh));
    } else {
        w->setGeometry(r);
    }
}

void setFormCaption(QWidget* form, const QString& caption) {
    form->setWindowTitle(caption);
    QWidget* w = outerWindow(form);
    if (w != form) w->setWindowTitle(caption);
}

QString formCaption(QWidget* form) {
    return outerWindow(form)->windowTitle();
}

}  // namespace quorel

namespace quorel {

QIcon programIcon() {
    QPixmap pm(16, 16);
    pm.fill(Qt::white);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 0, 255), 1.5));
    p.drawArc(QRectF(-6, 2, 20, 24), 0, 90 * 16);
    p.setPen(QPen(QColor(255, 0, 0), 1.2));
    p.drawLine(QPointF(2, 15), QPointF(15, 2));
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(0, 12, 16, 12);
    return QIcon(pm);
}

}  // namespace quorel
