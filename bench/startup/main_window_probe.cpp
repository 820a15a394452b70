// The program's start-up up to its main window shown, then an exit: timed as
// a whole process by the start-up benchmark.
#include <QApplication>
#include <QTimer>

#include "app/mdi_form.h"
#include "common/form_geometry.h"
#include "common/version.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(quorel::kVersion);
    quorel::installFontFallbacks();
    QApplication::setWindowIcon(quorel::programIcon());
    quorel::MDIForm1 main;
    main.show();
    QTimer::singleShot(0, &app, &QApplication::quit);
    return app.exec();
}
