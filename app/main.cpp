#include <QApplication>

#include "app/mdi_form.h"
#include "app/program_start.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    quorel::setUpApplication();
    quorel::MDIForm1 main;
    main.show();
    return app.exec();
}
