#include "solver/input_guard.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
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

InputGuard::InputGuard(QObject* allowed, std::function<void()> onEscape)
    : allowed_(allowed), onEscape_(std::move(onEscape)) {
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
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && onEscape_)
        onEscape_();
    // An accepted override keeps the key from becoming a shortcut (Ctrl+F4...).
    if (event->type() == QEvent::ShortcutOverride) event->accept();
    return true;
}

}  // namespace quorel
