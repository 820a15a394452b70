#include <QApplication>

#include "app/mdi_form.h"
#include "common/form_geometry.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    quorel::installFontFallbacks();
    QApplication::setWindowIcon(quorel::programIcon());
    quorel::MDIForm1 main;
    main.show();
    return app.exec();
}
