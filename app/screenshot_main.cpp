// Development tool: starts the program, optionally runs Clear or a
// calculation (by default the typical "X^3-3X-10" from 3), and writes a PNG of
// the screen.
//   quorel_screenshot OUT.png [start|clear|calc] [F(X) INITIAL-VALUE]
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <QTimer>
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

bool save(QWidget& main, const QString& path) {
    QPixmap shot;
    if (QGuiApplication::platformName() == "offscreen") {
        shot = main.grab();
    } else {
        shot = main.screen()->grabWindow(0);
    }
    if (!shot.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUT.png [start|clear|calc] [F(X) INITIAL-VALUE]\n",
                     argv[0]);
        return 2;
    }
    const QString mode = argc > 2 ? argv[2] : "calc";
    const QString fx = argc > 4 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral("X^3-3X-10");
    const QString x0 = argc > 4 ? QString::fromLocal8Bit(argv[4]) : QStringLiteral("3");
    quorel::installFontFallbacks();
    QApplication::setWindowIcon(quorel::programIcon());
    quorel::MDIForm1 main;
    main.move(0, 0);
    main.show();
    settle();
    quorel::FrmFx& panel = main.frmFx();
    // A message box during the calculation is written to OUT.box.png and
    // closed, so that the calculation goes on.
    QTimer boxWatch;
    QObject::connect(&boxWatch, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        boxWatch.stop();
        settle();
        save(main, QString::fromLocal8Bit(argv[1]) + ".box.png");
        box->accept();
        boxWatch.start();
    });
    boxWatch.start(200);
    if (mode == "clear") {
        panel.TexDFT().setText(x0);
        panel.clearPressed();
    } else if (mode == "calc") {
        panel.CmbFx().setEditText(fx);
        panel.TexDFT().setText(x0);
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
