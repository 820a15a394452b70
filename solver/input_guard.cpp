#include "solver/input_guard.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace quorel {
namespace {

bool isUserInput(QEvent::Type t) {
    switch (t) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::ContextMenu:
            return true;
        default:
            return false;
    }
}

}  // namespace

InputGuard::InputGuard(QObject* allowed) : allowed_(allowed) {
    qApp->installEventFilter(this);
}

InputGuard::~InputGuard() {
    qApp->removeEventFilter(this);
}

bool InputGuard::eventFilter(QObject* watched, QEvent* event) {
    if (!isUserInput(event->type()) || watched == allowed_) return false;
    // Modal dialogs (the step pause, message boxes) keep their input.
    // Events reach the window system's windows first and the widgets after;
    // only widgets are filtered.
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w) return false;
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && w->window() == modal) return false;
    // An accepted override keeps the key from becoming a shortcut (Ctrl+F4...).
    if (event->type() == QEvent::ShortcutOverride) event->accept();
    return true;
}

}  // namespace quorel
