// Development tool: starts the program, optionally runs Clear or a
// calculation (by default the typical "X^3-3X-10" from 3), for "zoom" the
// calculation zoomed in on its last iterate in the graph (24 wheel notches,
// the pointer near it), for "step" the calculation step by step with its
// first pause written to OUT.pause.png, for "convergence" the calculation with
// the convergence window open, for "replay" that run zoomed in on its root and
// stepped back to pass 1, for "basins" "x^3-x" from 2 zoomed in on x = 0 (7
// notches) with the basin strip under it, and writes a PNG of the screen.
//   quorel_screenshot OUT.png [start|clear|calc|zoom|step|convergence|replay|basins]
//                     [F(X) INITIAL-VALUE]
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QWheelEvent>
#include <cstdio>

#include "app/mdi_form.h"
#include "app/program_start.h"
#include "app/window_actions.h"
#include "graph/frm_graph.h"
#include "solver/frm_fx.h"
#include "solver/frm_wait.h"

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
        std::fprintf(stderr,
                     "usage: %s OUT.png [start|clear|calc|zoom|step|convergence|replay|basins] "
                     "[F(X) INITIAL-VALUE]\n",
                     argv[0]);
        return 2;
    }
    const QString mode = argc > 2 ? argv[2] : "calc";
    const bool basins = mode == "basins";
    const QString fx = argc > 4 ? QString::fromLocal8Bit(argv[3])
                       : basins ? QStringLiteral("x^3-x")
                                : QStringLiteral("X^3-3X-10");
    const QString x0 = argc > 4 ? QString::fromLocal8Bit(argv[4])
                       : basins ? QStringLiteral("2")
                                : QStringLiteral("3");
    quorel::setUpApplication();
    quorel::MDIForm1 main;
    main.move(0, 0);
    main.show();
    settle();
    quorel::FrmFx& panel = main.frmFx();
    // A message box during the calculation is written to OUT.box.png and
    // closed, so that the calculation goes on.
    QTimer boxWatch;
    bool pauseShot = false;
    QObject::connect(&boxWatch, &QTimer::timeout, [&] {
        if (main.frmWait().isVisible()) {
            boxWatch.stop();
            if (!pauseShot) {
                settle();
                save(main, QString::fromLocal8Bit(argv[1]) + ".pause.png");
                pauseShot = true;
            }
            main.frmWait().CmdGo_Click();
            boxWatch.start();
            return;
        }
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
    } else if (mode == "convergence" || mode == "replay") {
        main.actions().openConvergence();
        panel.CmbFx().setEditText(fx);
        panel.TexDFT().setText(x0);
        panel.CmdCal_Click();
    } else if (mode == "calc" || mode == "zoom" || mode == "step" || basins) {
        panel.ChkStep().setChecked(mode == "step");
        panel.CmbFx().setEditText(fx);
        panel.TexDFT().setText(x0);
        panel.CmdCal_Click();
    }
    if (mode == "zoom" || mode == "replay" || basins) {
        settle();
        quorel::PlotSurface& pic = main.frmGraph().picThree();
        const quorel::ProgramState& s = main.state();
        const double at = basins ? 0.0 : panel.driver().calculation().CurX.value_or(0);
        const QPointF root = pic.toWidget(at + s.OffX, s.OrgY);
        for (int i = 0; i < (basins ? 7 : 24); ++i) {
            QWheelEvent wheel(root, pic.mapToGlobal(root), QPoint(), QPoint(0, 120), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(&pic, &wheel);
        }
        const QPointF near = root + QPointF(60, -90);
        QMouseEvent move(QEvent::MouseMove, near, pic.mapToGlobal(near), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(&pic, &move);
    }
    if (mode == "replay") {
        settle();
        for (QAction* a : main.frmGraph().actions()) {
            if (a->shortcut() != QKeySequence(Qt::Key_BracketLeft)) continue;
            for (int i = 0; i < 3; ++i) a->trigger();
        }
    }
    settle();
    return save(main, argv[1]) ? 0 : 1;
}
