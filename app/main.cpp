#include <QApplication>

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
    return app.exec();
}
