#include "app/stacking.h"

#include <QEvent>
#include <QMdiSubWindow>

namespace quorel {

KeepAbove::KeepAbove(QMdiSubWindow* upper, QMdiSubWindow* lower)
    : QObject(lower), upper_(upper), lower_(lower) {
    lower->installEventFilter(this);
}

bool KeepAbove::eventFilter(QObject* watched, QEvent* event) {
    // The type first: while a window is destroyed its children's events
    // arrive from a half-destroyed object that must not be compared as a sub-window.
    if (event->type() == QEvent::ZOrderChange && watched == lower_ && upper_ &&
        !lower_->isMaximized() && lower_->parent() == upper_->parent()) {
        // Siblings are listed bottom to top.
        const QObjectList& siblings = lower_->parent()->children();
        if (siblings.indexOf(lower_) > siblings.indexOf(upper_)) lower_->stackUnder(upper_);
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace quorel
