// How the windows answer the keyboard, the wheel, a click and a resize, run
// at the screen's ratio and once more at ratio 2.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <algorithm>

#include "program_fixture.h"

namespace quorel {
namespace {

using WindowBehaviour = testing::ProgramTest;

TEST_F(WindowBehaviour, EnterInEveryBoxAndOnCalculateStartsACalculation) {
    FrmFx& p = panel();
    p.CmbFx().setEditText("x-2");
    p.TexDFT().setText("1");
    QWidget* targets[] = {&p.CmbFx(), &p.TexDFT(), &p.TexLoops(), &p.TexError(), &p.CmdCal()};
    for (QWidget* target : targets) {
        for (auto [key, modifiers] : {std::pair{Qt::Key_Return, Qt::NoModifier},
                                      std::pair{Qt::Key_Enter, Qt::KeypadModifier}}) {
            table().Dta_Clr();
            ASSERT_EQ(table().cellText(1, 0), "");
            target->setFocus();
            QTest::keyClick(target, key, modifiers);
            EXPECT_EQ(table().cellText(1, 0), "1") << target->metaObject()->className() << key;
            EXPECT_EQ(p.CmbFx().currentText(), "x-2");
        }
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

// The table's first row whose cell shows whole.
long long topRow(const FrmDSPDTA& table) {
    return (static_cast<long long>(-table.contentTop()) + 334) / 335;
}

TEST_F(WindowBehaviour, TheTableScrollsByRowsAndPagesToItsLastRowAtAMillionRows) {
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    QWidget* rows = table().findChild<QWidget*>("picOne");
    QScrollBar* bar = table().vsbScroll();
    ASSERT_NE(rows, nullptr);
    const long long wheel = QApplication::wheelScrollLines();
    const long long page = 14;  // rows the viewport shows whole
    for (long long n : {1'000LL, 1'000'000LL}) {
        table().Dta_Clr();
        table().holdUpdates(true);
        for (long long r = 0; r < n; ++r) {
            main->state().IterCount = r;
            table().DspDta(static_cast<double>(r), 0.5, 2.0);
        }
        table().holdUpdates(false);
        ASSERT_EQ(table().rowCount(), n);
        // The newest row shows at the bottom, a pitch above the viewport's end.
        long long top = n - 13;
        ASSERT_EQ(topRow(table()), top) << n;

        const auto step = [&](const char* what, long long move, auto&& act) {
            act();
            top = std::clamp(top + move, 0LL, n - 13);
            EXPECT_EQ(topRow(table()), top) << what << " at " << n << " rows";
        };
        auto turn = [&](int delta) {
            const QPointF at(rows->width() / 2.0, rows->height() / 2.0);
            QWheelEvent e(at, rows->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(rows, &e);
        };
        auto key = [&](Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
            return [=] { QTest::keyClick(QApplication::focusWidget(), k, m); };
        };
        auto clickBar = [&](double fraction) {
            return [=] {
                QTest::mouseClick(bar, Qt::LeftButton, {},
                                  QPoint(bar->width() / 2, qRound(bar->height() * fraction)));
            };
        };
        const double arrowTop = 4.0 / bar->height(), arrowBottom = 1 - arrowTop;

        step("wheel back", -wheel, [&] { turn(120); });
        step("wheel on", wheel, [&] { turn(-120); });
        step("wheel back", -wheel, [&] { turn(120); });
        step("upper arrow", -1, clickBar(arrowTop));
        step("lower arrow", 1, clickBar(arrowBottom));
        step("track above the thumb", -page, clickBar(0.5));
        // A click gives the rows the keyboard.
        QTest::mouseClick(rows, Qt::LeftButton, {}, QPoint(5, rows->height() - 5));
        ASSERT_EQ(QApplication::focusWidget(), rows);
        step("Up", -1, key(Qt::Key_Up));
        step("Down", 1, key(Qt::Key_Down));
        step("PgUp", -page, key(Qt::Key_PageUp));
        step("PgDn", page, key(Qt::Key_PageDown));
        step("Home", -n, key(Qt::Key_Home));
        EXPECT_EQ(table().contentTop(), 0);
        step("Down", 1, key(Qt::Key_Down));
        step("wheel on", wheel, [&] { turn(-120); });
        step("PgDn", page, key(Qt::Key_PageDown));
        step("track below the thumb", page, clickBar(0.75));
        step("Ctrl+End", n, key(Qt::Key_End, Qt::ControlModifier));
        step("Down at the end", 1, key(Qt::Key_Down));
        step("Ctrl+Home", -n, key(Qt::Key_Home, Qt::ControlModifier));
        step("End", n, key(Qt::Key_End));
        EXPECT_EQ(bar->value(), bar->maximum());
    }
}

}  // namespace
}  // namespace quorel
