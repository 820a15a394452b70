// The run held once: every window shows what the run model holds, and only that.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMdiSubWindow>
#include <QMenu>

#include "app/window_actions.h"
#include "calculation_fixture.h"
#include "graph/run_drawing.h"
#include "run/run_model.h"
#include "table/convergence_model.h"
#include "table/frm_convergence.h"
#include "table/table_text.h"

namespace quorel {
namespace {

const QRgb kBlue = qRgb(0, 0, 255), kRed = qRgb(255, 0, 0), kMarker = qRgb(0, 255, 8);

class RunModelTest : public testing::CalculationTest {
  protected:
    RunModel& run() { return main->run(); }
    PlotSurface& pic() { return graph().picThree(); }
    // Whether a pixel of this colour lies within a pixel of a world point.
    bool near(const QImage& img, double x, double y, QRgb rgb) {
        const ProgramState& s = main->state();
        const double dpr = img.devicePixelRatio();
        const double border = (pic().width() - img.width() / dpr) / 2;
        const QPointF d = (pic().toWidget(x + s.OffX, y + s.OrgY) - QPointF(border, border)) * dpr;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int u = int(d.x()) + dx, v = int(d.y()) + dy;
                if (img.valid(u, v) && img.pixel(u, v) == rgb) return true;
            }
        return false;
    }
    bool anyOf(const QImage& img, QRgb rgb) {
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (img.pixel(x, y) == rgb) return true;
        return false;
    }
};

TEST_F(RunModelTest, ARunClearedFromTheModelLeavesEveryViewEmpty) {
    FrmConvergence& convergence = main->frmConvergence();
    qobject_cast<QMdiSubWindow*>(outerWindow(&convergence))->show();
    calculate("X^3-3X-10", "3");
    ASSERT_EQ(table().rowCount(), 5);
    ASSERT_EQ(convergence.model().rowCount(), 5);
    const QImage drawn = pic().image();
    ASSERT_TRUE(anyOf(drawn, kBlue) && anyOf(drawn, kRed) && anyOf(drawn, kMarker));
    ASSERT_FALSE(graph().outcomeText().isEmpty());

    run().clear(3);
    EXPECT_EQ(table().rowCount(), 1);
    for (int c = 0; c < 4; ++c) EXPECT_EQ(table().cellText(c, 0), "") << c;
    EXPECT_EQ(convergence.model().rowCount(), 0);
    const QImage cleared = pic().image();
    EXPECT_FALSE(anyOf(cleared, kBlue));
    EXPECT_FALSE(anyOf(cleared, kRed));
    EXPECT_FALSE(anyOf(cleared, kMarker));
    EXPECT_TRUE(graph().outcomeText().isEmpty());
    main->actions().copyTable();
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), rowsAsText(run().rows()));
    EXPECT_EQ(run().rows().size(), 0);
    EXPECT_EQ(pic().accessibleDescription().toStdString(),
              "Graph of f(x)=X^3-3X-10, centre (3,0).");
}

TEST_F(RunModelTest, ReplayOfPassTwoShowsPassesZeroToTwoOnly) {
    // Each pass halves x: markers at 16, 8, 4, 2, 1, ... well apart.
    calculate("0.1x^2", "16");
    const long long n = table().rowCount();
    ASSERT_GT(n, 6);
    auto X = [&](long long i) { return run().rows().at(i, 0).value; };
    auto F = [&](long long i) { return run().rows().at(i, 1).value; };
    auto mid = [&](long long i, QRgb rgb, const QImage& img) {
        return near(img, (X(i) + X(i + 1)) / 2, F(i) / 2, rgb);
    };
    const QImage full = pic().image();
    for (long long i = 0; i <= 3; ++i) {
        EXPECT_TRUE(near(full, X(i) + 0.1, F(i), kMarker)) << i;
        EXPECT_TRUE(mid(i, kRed, full)) << i;
    }

    pic().stepReplay(-(n - 1 - 2));
    ASSERT_EQ(pic().replayPass(), 2);
    EXPECT_EQ(table().markedRow(), 2);
    const QImage replay = pic().image();
    const QRgb lit = PlotSurface::kReplayColour.rgb();
    // Pass 2's marker lies under its lit tangent.
    for (long long i = 0; i <= 1; ++i) EXPECT_TRUE(near(replay, X(i) + 0.1, F(i), kMarker)) << i;
    EXPECT_TRUE(mid(0, kRed, replay) && mid(1, kRed, replay));
    EXPECT_TRUE(mid(2, lit, replay));
    for (long long i = 3; i <= 4; ++i) {
        EXPECT_FALSE(near(replay, X(i) + 0.1, F(i), kMarker)) << i;
        EXPECT_FALSE(mid(i, kRed, replay)) << i;
    }
    EXPECT_TRUE(near(replay, 6, 0.1 * 36, kBlue));
}

// "Keep previous run": the last run's tangents and markers in light grey under
// the next one; off by default; Clear removes them, as does turning it off.
TEST_F(RunModelTest, ThePreviousRunStaysGreyUnderTheNextUntilCleared) {
    const QRgb grey = kPreviousColor.rgb();
    auto* sub = qobject_cast<QMdiSubWindow*>(outerWindow(&graph()));
    QAction* keep = nullptr;
    for (QAction* a : sub->systemMenu()->actions())
        if (a->text() == "Keep previous run") keep = a;
    ASSERT_TRUE(keep && keep->isCheckable() && !keep->isChecked());

    // The first run's first tangent, from (0, -10) to (-10/3, 0), away from
    // the curve and from the second run.
    auto firstTangentGrey = [&] { return near(pic().image(), -5.0 / 3, -5, grey); };
    calculate("X^3-3X-10", "0");
    calculate("X^3-3X-10", "3");
    EXPECT_FALSE(anyOf(pic().image(), grey));

    keep->setChecked(true);
    calculate("X^3-3X-10", "0");
    const long long firstRows = table().rowCount();
    calculate("X^3-3X-10", "3");
    EXPECT_TRUE(firstTangentGrey());
    EXPECT_EQ(run().previousRows().size(), firstRows);
    // It stays through a new size, drawn with the frame.
    outerWindow(&graph())->resize(outerWindow(&graph())->size() + QSize(40, 20));
    QApplication::processEvents();
    EXPECT_TRUE(anyOf(pic().image(), grey));

    QTest::mouseClick(&panel().CmdClr(), Qt::LeftButton);
    EXPECT_FALSE(anyOf(pic().image(), grey));
    EXPECT_EQ(run().previousRows().size(), 0);

    calculate("X^3-3X-10", "0");
    calculate("X^3-3X-10", "3");
    ASSERT_TRUE(firstTangentGrey());
    keep->setChecked(false);
    EXPECT_FALSE(anyOf(pic().image(), grey));
}

// A new view samples the run's own f(x), whatever the engine translated
// since (the diagnostic view of another f).
TEST_F(RunModelTest, ANewViewSamplesTheRunsOwnFunction) {
    calculate("X^3-3X-10", "3");
    panel().CmbFx().setEditText("x^2");
    panel().LabDFT_Click();
    run().resampleCurve(-4, 4);
    ASSERT_GT(run().curve().size(), 100u);
    for (const CurveSample& s : run().curve()) {
        ASSERT_TRUE(s.ok);
        EXPECT_NEAR(s.y, s.x * s.x * s.x - 3 * s.x - 10, 1e-9) << s.x;
    }
}

}  // namespace
}  // namespace quorel
