#include "app/qt_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

#include "solver/frm_wait.h"

namespace quorel {

void QtDialogs::message(const std::string& text, const std::string& title) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(title),
                    QString::fromStdString(text), QMessageBox::Ok, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool QtDialogs::pause() {
    return wait_ ? wait_->showModal() : true;
}

std::string QtDialogs::saveFileName(const std::string& caption, const std::string& suggested,
                                    const std::string& filter) {
    return QFileDialog::getSaveFileName(
               QApplication::activeWindow(), QString::fromStdString(caption),
               QString::fromStdString(suggested), QString::fromStdString(filter))
        .toStdString();
}

bool QtDialogs::choosePrinter(QPrinter& printer) {
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace quorel
