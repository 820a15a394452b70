#include "app/help_window.h"

#include <QKeySequence>
#include <QShortcut>

#include "app/help_text.h"
#include "common/form_geometry.h"

namespace quorel {

HelpWindow::HelpWindow(const QString& version, QWidget* parent) : QTextBrowser(parent) {
    setWindowFlag(Qt::Window);
    setObjectName("HelpWindow");
    setWindowTitle(kHelpCaption);
    setWindowIcon(programIcon());
    setOpenLinks(false);
    setHtml(helpHtml(version));
    resize(560, 640);
    // Escape closes it, as it closes a dialog.
    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
}

void HelpWindow::open() {
    show();
    raise();
    activateWindow();
}

}  // namespace quorel
