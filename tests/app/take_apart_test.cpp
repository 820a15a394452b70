// The windows beyond the specified three: the convergence figures and window,
// copying the table and the picture, the help at F1, and a start-up that
// shows none of them.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolBar>
#include <bit>
#include <charconv>
#include <cmath>
#include <sstream>

#include "app/help_window.h"
#include "app/window_actions.h"
#include "calculation_fixture.h"
#include "common/failure.h"
#include "common/version.h"
#include "table/convergence_model.h"
#include "table/frm_convergence.h"

namespace quorel {
namespace {

class TakeApart : public testing::CalculationTest {
  protected:
    QMdiSubWindow* subOf(QWidget* form) {
        for (QMdiSubWindow* sub : main->mdiArea().subWindowList())
            if (sub->widget() == form) return sub;
        return nullptr;
    }
    FrmConvergence& convergence() { return main->frmConvergence(); }
    QString listed(long long row, int column) {
        return convergence().model().index(int(row), column).data().toString();
    }
};

TEST_F(TakeApart, ConvergenceOfASimpleAndADoubleRoot) {
    struct Case {
        const char* f;
        const char* x0;
        double ratio;  // of the last passes; 0 where it falls towards 0
        double order;
    };
    for (const Case& c : {Case{"X^3-3X-10", "3", 0.0, 2.0}, Case{"x^2", "1", 0.5, 1.0}}) {
        SCOPED_TRACE(c.f);
        calculate(c.f, c.x0);
        const ConvergenceFigures& fig = convergence().figures();
        const long long n = table().rowCount();
        ASSERT_EQ(fig.size(), n);
        ASSERT_GE(n, 4);
        // The list follows the rows, opened or not.
        EXPECT_EQ(convergence().model().rowCount(), n);
        for (long long i = 0; i + 1 < n; ++i)
            EXPECT_EQ(fig.step(i).value,
                      std::fabs(table().cellValue(1, i + 1).value - table().cellValue(1, i).value));
        EXPECT_FALSE(fig.step(n - 1).isNumber());
        // Order about 2 near a simple root, about 1 and ratio 0.5 near a double one.
        const long long last = n - 3;
        EXPECT_NEAR(fig.order(last).value, c.order, 0.1);
        EXPECT_EQ(listed(last, ConvergenceModel::kOrder),
                  ConvergenceModel::figureText(fig.order(last)));
        if (c.ratio > 0) {
            for (long long i = 0; i < last; ++i) EXPECT_NEAR(fig.ratio(i).value, c.ratio, 1e-6);
            EXPECT_EQ(listed(1, ConvergenceModel::kRatio), "0.5");
        } else {
            EXPECT_LT(fig.ratio(last).value, 0.01);
        }
        EXPECT_FALSE(fig.ratio(n - 2).isNumber());
        EXPECT_FALSE(fig.order(0).isNumber());
    }
    // A shorter calculation starts the list afresh.
    calculate("x-1", "3");
    EXPECT_EQ(convergence().model().rowCount(), table().rowCount());
}

TEST_F(TakeApart, CopiedTableReadsBackBitForBit) {
    int failures = 0;
    for (const char* f : {"sqr(x)", "X^3-3X-10"}) {
        calculate(f, f[0] == 's' ? "-4" : "3");
        table().setFocus();
        QTest::keySequence(&table(), QKeySequence::Copy);
        std::istringstream text(QGuiApplication::clipboard()->text().toStdString());
        std::string line;
        std::getline(text, line);
        EXPECT_EQ(line, "i\tXi\tf(Xi)\tf'(Xi)");
        long long row = 0;
        for (; std::getline(text, line); ++row) {
            std::istringstream cells(line);
            std::string cellText;
            std::getline(cells, cellText, '\t');
            EXPECT_EQ(cellText, std::to_string(row));
            for (int c = 1; c <= 3; ++c) {
                std::getline(cells, cellText, '\t');
                const CellValue v = table().cellValue(c, row);
                if (v.failure != 0) {
                    ++failures;
                    EXPECT_EQ(cellText, failureInfo(v.failure).cell);
                    continue;
                }
                double back = 0;
                std::from_chars(cellText.data(), cellText.data() + cellText.size(), back);
                EXPECT_EQ(std::bit_cast<std::uint64_t>(back), std::bit_cast<std::uint64_t>(v.value))
                    << f << " row " << row << " column " << c << ": " << cellText;
            }
        }
        EXPECT_EQ(row, table().rows().size());
    }
    EXPECT_GT(failures, 0);
}

TEST_F(TakeApart, PictureCopiedAndSaved) {
    calculate("X^3-3X-10", "3");
    PlotSurface& pic = graph().picThree();
    pic.setFocus();
    QTest::keySequence(&pic, QKeySequence::Copy);
    const QImage copied = QGuiApplication::clipboard()->image();
    const double dpr = pic.devicePixelRatioF();
    EXPECT_EQ(copied.size(), (QSizeF(pic.size()) * dpr).toSize());
    EXPECT_EQ(copied.convertToFormat(QImage::Format_RGB32),
              pic.grab().toImage().convertToFormat(QImage::Format_RGB32));

    QTemporaryDir dir;
    const QString path = dir.filePath("graph.png");
    dialogs.saveAnswer = path.toStdString();
    QAction* save = nullptr;
    for (QAction* a : subOf(&graph())->systemMenu()->actions())
        if (a->text() == "Save picture...") save = a;
    ASSERT_NE(save, nullptr);
    save->trigger();
    EXPECT_EQ(dialogs.saveDialogs, std::vector<std::string>{kSavePictureCaption});
    EXPECT_EQ(QImage(path).convertToFormat(QImage::Format_RGB32),
              copied.convertToFormat(QImage::Format_RGB32));
    // Cancelled: nothing written, nothing said.
    dialogs.saveAnswer.clear();
    QFile::remove(path);
    save->trigger();
    EXPECT_FALSE(QFile::exists(path));
    // A place that cannot be written: one box.
    dialogs.saveAnswer = dir.filePath("missing/graph.png").toStdString();
    save->trigger();
    EXPECT_EQ(dialogs.messages.size(), 1u);
}

TEST_F(TakeApart, F1OpensTheHelpFromEachWindow) {
    HelpWindow& help = main->helpWindow();
    EXPECT_TRUE(help.toPlainText().contains(kVersion));
    QMdiSubWindow* convergenceSub = subOf(&convergence());
    main->actions().openConvergence();
    const std::vector<QWidget*> targets = {&panel().TexDFT(), &table(), &graph().picThree(),
                                           &convergence().list()};
    for (QWidget* target : targets) {
        help.hide();
        main->activateWindow();
        main->mdiArea().setActiveSubWindow(
            subOf(target->parentWidget() == &convergence() ? &convergence() : target->window()));
        target->setFocus();
        QTest::keyClick(target, Qt::Key_F1);
        EXPECT_TRUE(help.isVisible()) << target->objectName().toStdString();
    }
    EXPECT_TRUE(convergenceSub->isVisible());
    // Every control of the panel says what it is for.
    const std::vector<QWidget*> controls = {
        &panel().CmbFx(),   &panel().TexDFT(), &panel().TexError(), &panel().TexLoops(),
        &panel().ChkStep(), &panel().CmdCal(), &panel().CmdClr(),   &panel().Command1()};
    for (QWidget* w : controls) EXPECT_FALSE(w->toolTip().isEmpty());
}

TEST_F(TakeApart, StartUpShowsOnlyTheSpecifiedWindows) {
    EXPECT_EQ(main->menuWidget(), nullptr);
    EXPECT_EQ(main->findChildren<QStatusBar*>().size(), 0);
    EXPECT_EQ(main->findChildren<QToolBar*>().size(), 0);
    int shown = 0;
    for (QMdiSubWindow* sub : main->mdiArea().subWindowList()) shown += sub->isVisible();
    EXPECT_EQ(shown, 3);
    EXPECT_FALSE(main->helpWindow().isVisible());
    // Opening and closing the convergence window leaves the pixels as they were.
    const QImage before = main->grab().toImage();
    main->actions().openConvergence();
    QApplication::processEvents();
    EXPECT_NE(main->grab().toImage(), before);
    EXPECT_TRUE(subOf(&convergence())->close());
    main->mdiArea().setActiveSubWindow(subOf(&panel()));
    QApplication::processEvents();
    EXPECT_EQ(main->grab().toImage(), before);
}

}  // namespace
}  // namespace quorel
