// The keys that step a replay of a finished calculation: "[" one pass back,
// "]" one forward. They work wherever the focus is inside `window`.
#pragma once

#include <QAction>
#include <QWidget>
#include <functional>

namespace quorel {

inline void addReplayKeys(QWidget* window, const std::function<void(int)>& step) {
    for (const auto& [key, by] : {std::pair{Qt::Key_BracketLeft, -1}, {Qt::Key_BracketRight, 1}}) {
        auto* a = new QAction(window);
        a->setShortcut(QKeySequence(key));
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        QObject::connect(a, &QAction::triggered, window, [step, by = by] { step(by); });
        window->addAction(a);
    }
}

}  // namespace quorel
