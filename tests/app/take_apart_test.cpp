// The windows beyond the specified three: the convergence figures and window,
// copying the table and the picture, the help at F1, and a start-up that
// shows none of them.

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QHeaderView>
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
#include "table/convergence_plot.h"
#include "table/frm_convergence.h"

namespace quorel {
namespace {

class TakeApart : public testing::CalculationTest {
  protected:
    QMdiSubWindow* subOf(QWidget* form) { return qobject_cast<QMdiSubWindow*>(outerWindow(form)); }
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
        // The list lists every row once open, opened after the run (the first case) or
        // before it; hidden, its view keeps nothing per row.
        if (!convergence().isVisible()) {
            EXPECT_EQ(convergence().list().verticalHeader()->count(), 0);
        }
        subOf(&convergence())->show();
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

TEST_F(TakeApart, ReplayShowsThePassesUpToTheOneStepped) {
    calculate("X^3-3X-10", "3");
    PlotSurface& pic = graph().picThree();
    const long long n = table().rowCount();
    ASSERT_EQ(pic.passCount(), n);
    ASSERT_GE(n, 4);
    const ProgramState& s = main->state();
    auto X = [&](long long i) { return table().cellValue(1, i).value; };
    auto F = [&](long long i) { return table().cellValue(2, i).value; };
    // Zoomed in on the first tangents, so that each has pixels of its own.
    pic.zoomAt(pic.toWidget(X(1) + s.OffX, 0.5 + s.OrgY), 8, 8);
    const QImage full = pic.image();
    const double dpr = full.devicePixelRatio();
    const double border = (pic.width() - full.width() / dpr) / 2;
    auto device = [&](double x, double y) {
        return (pic.toWidget(x + s.OffX, y + s.OrgY) - QPointF(border, border)) * dpr;
    };
    // Whether a pixel of this colour lies within `from`..`to` pixels of a point.
    auto has = [&](const QImage& img, QPointF at, QRgb rgb, int from, int to) {
        for (int dy = -to; dy <= to; ++dy)
            for (int dx = -to; dx <= to; ++dx) {
                const int u = int(at.x()) + dx, v = int(at.y()) + dy;
                if (std::max(std::abs(dx), std::abs(dy)) >= from && img.valid(u, v) &&
                    img.pixel(u, v) == rgb)
                    return true;
            }
        return false;
    };
    const QRgb tangent = qRgb(255, 0, 0), marker = qRgb(0, 255, 8);
    const QRgb lit = PlotSurface::kReplayColour.rgb();
    auto along = [&](long long i, double t) {
        return device(X(i) + t * (X(i + 1) - X(i)), F(i) * (1 - t));
    };
    const QPointF root = device(X(n - 1), F(n - 1));
    // The root's marker, 0.3 units at home, grows threefold at most.
    const double perUnit = device(1, 0).x() - device(0, 0).x();
    const double rootRing = std::min(0.3 * perUnit, 3 * 0.3 * perUnit / 8);

    pic.setFocus();
    for (long long k = n - 2; k >= 0; --k) {
        QTest::keyClick(&pic, '[');
        ASSERT_EQ(pic.replayPass(), k);
    }
    for (long long k = 0; k <= 2; ++k) {
        SCOPED_TRACE(k);
        if (k == 1) {
            // Opened, the convergence window selects the marked pass and steps the replay.
            subOf(&convergence())->show();
            EXPECT_TRUE(convergence().list().selectionModel()->isRowSelected(0));
            convergence().list().setFocus();
            QTest::keyClick(&convergence().list(), ']');
            pic.setFocus();
        } else if (k == 2) {
            QTest::keyClick(&pic, ']');
        }
        ASSERT_EQ(pic.replayPass(), k);
        EXPECT_EQ(table().markedRow(), k);
        EXPECT_EQ(convergence().plot().markedPass(), k);
        const QImage img = pic.image();
        for (long long i = 0; i <= 1; ++i)
            for (double t : {0.25, 0.5}) {
                const QPointF p = along(i, t);
                EXPECT_EQ(has(img, p, tangent, 0, 1), i < k) << i << " " << t;
                EXPECT_EQ(has(img, p, lit, 0, 1), i == k) << i << " " << t;
            }
        EXPECT_EQ(has(img, device(X(1), F(1)), marker, 0, 5), k >= 1);
        EXPECT_EQ(has(img, device(X(2), F(2)), lit, 0, 1), k >= 1);
        // The root's marker belongs to the last pass alone.
        EXPECT_FALSE(has(img, root, marker, int(rootRing) - 2, int(rootRing) + 2));
        EXPECT_TRUE(has(full, root, marker, int(rootRing) - 2, int(rootRing) + 2));
    }
    for (long long k = 3; k < n; ++k) QTest::keyClick(&pic, ']');
    EXPECT_EQ(pic.replayPass(), n - 1);
    QTest::keyClick(&pic, ']');
    EXPECT_EQ(pic.replayPass(), -1);
    EXPECT_EQ(table().markedRow(), -1);
    EXPECT_EQ(convergence().plot().markedPass(), -1);
    EXPECT_EQ(pic.image(), full);
    // Any other action leaves a replay: here a change of view.
    QTest::keyClick(&pic, '[');
    pic.panBy(0, 0);
    EXPECT_EQ(pic.replayPass(), -1);
    EXPECT_EQ(table().markedRow(), -1);
    // A new size draws the run afresh, its passes still marked.
    QMdiSubWindow* graphSub = subOf(&graph());
    graphSub->resize(graphSub->size() + QSize(60, 40));
    ASSERT_EQ(pic.passCount(), n);
    QTest::keyClick(&pic, '[');
    EXPECT_EQ(pic.replayPass(), n - 2);
    EXPECT_EQ(table().markedRow(), n - 2);
}

TEST_F(TakeApart, ConvergenceOpenedDuringAReplayShowsItsPass) {
    calculate("x^2+1", "0.5");
    PlotSurface& pic = graph().picThree();
    ASSERT_EQ(pic.passCount(), 56);
    pic.stepReplay(-25);
    ASSERT_EQ(pic.replayPass(), 30);
    subOf(&convergence())->show();
    QTableView& list = convergence().list();
    const QModelIndex marked = convergence().model().index(30, 0);
    EXPECT_TRUE(list.selectionModel()->isRowSelected(30));
    EXPECT_TRUE(list.viewport()->rect().contains(list.visualRect(marked)));
    EXPECT_FALSE(
        list.viewport()->rect().intersects(list.visualRect(convergence().model().index(55, 0))));
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
