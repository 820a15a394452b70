// Development tool: starts the program, optionally runs Clear or a typical
// calculation ("X^3-3X-10" from 3), and writes a PNG of the screen.
//   quorel_screenshot OUT.png [start|clear|calc]
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <cstdio>

#include "app/mdi_form.h"
#include "common/form_geometry.h"
#include "solver/frm_fx.h"

namespace {

void settle() {
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
        QThread::msleep(20);
    }
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUT.png [start|clear|calc]\n", argv[0]);
        return 2;
    }
    const QString mode = argc > 2 ? argv[2] : "calc";
    quorel::installFontFallbacks();
    QApplication::setWindowIcon(quorel::programIcon());
    quorel::MDIForm1 main;
    main.move(0, 0);
    main.show();
    settle();
    quorel::FrmFx& panel = main.frmFx();
    if (mode == "clear") {
        panel.TexDFT().setText("3");
        panel.clearPressed();
    } else if (mode == "calc") {
        panel.CmbFx().setEditText("X^3-3X-10");
        panel.TexDFT().setText("3");
        panel.CmdCal_Click();
    }
    settle();
    QPixmap shot;
    if (QGuiApplication::platformName() == "offscreen") {
        shot = main.grab();
    } else {
        shot = main.screen()->grabWindow(0);
    }
    if (!shot.save(argv[1])) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
