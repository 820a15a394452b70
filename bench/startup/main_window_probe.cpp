// The program's start-up up to its main window shown, then an exit: timed as
// a whole process by the start-up benchmark.
#include <QApplication>
#include <QTimer>

#include "app/mdi_form.h"
#include "app/program_start.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    quorel::setUpApplication();
    quorel::MDIForm1 main;
    main.show();
    QTimer::singleShot(0, &app, &QApplication::quit);
    return app.exec();
}
