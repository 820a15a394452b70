#include <gtest/gtest.h>

#include <QCheckBox>
#include <QScreen>
#include <cmath>

#include "calculation_fixture.h"
#include "solver/driver.h"

namespace quorel {
namespace {

class DriverTest : public testing::CalculationTest {
  protected:
    // Dark text pixels in a row's Xi cell on the screen itself (the window's
    // backing store), not in a fresh rendering.
    int darkPixelsShownInXi(long long row) {
        const QPoint at = table().mapTo(main.get(), QPoint(40, (480 + 335 * int(row)) / 15 + 1));
        const QImage shown =
            main->screen()->grabWindow(main->winId(), at.x(), at.y(), 96, 15).toImage();
        // Black text on the cell's light green; the content's blue is neither.
        int dark = 0, light = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x) {
                const QRgb p = shown.pixel(x, y);
                dark += qRed(p) + qGreen(p) + qBlue(p) < 150;
                light += qGreen(p) > 200;
            }
        return light > shown.width() * shown.height() / 2 ? dark : 0;
    }
    // True when a marker-coloured pixel lies on the circle of radius r plot
    // units around the world point (x, y).
    bool markerAround(double x, double y, double r) {
        PlotSurface& s = graph().picThree();
        const double px = x + main->state().OffX;
        const double py = y + main->state().OrgY;
        for (double dx : {r, -r}) {
            for (double shift : {0.0, 0.02, -0.02}) {
                const QColor c = s.pixelAt(px + dx + shift, py);
                if (c.green() > 200 && c.red() < 100 && c.blue() < 100) return true;
            }
        }
        return false;
    }
    // The inputs locked while a calculation runs.
    std::vector<QWidget*> locked() {
        return {&panel().CmdCal(), &panel().CmdClr(), &panel().ChkStep(),
                &panel().CmbFx(),  &panel().TexDFT(), &panel().TexError()};
    }
    const Calculation& calc() { return panel().driver().calculation(); }
    std::string outcome() { return graph().outcomeText().toStdString(); }
};

TEST_F(DriverTest, TypicalRunConvergesInFourPasses) {
    calculate("X^3-3X-10", "3");
    ASSERT_EQ(table().rowCount(), 5);
    const double xs[] = {3, 2.6666667, 2.6141414, 2.6128886, 2.6128879};
    const double fs[] = {8, 0.96296, 0.021926, 0.0000123, 0};
    const double ds[] = {24, 18.33, 17.50, 17.48, 17.48};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(table().cellText(0, i), std::to_string(i) + ".");
        EXPECT_NEAR(cell(1, i), xs[i], 1e-7) << i;
        EXPECT_NEAR(cell(2, i), fs[i], std::abs(fs[i]) * 5e-3 + 1e-11) << i;
        EXPECT_NEAR(cell(3, i), ds[i], 0.01) << i;
    }
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(graph().caption(), "drafting  area -- draw complete\uFF01");
    EXPECT_EQ(outcome(), "Root X = 2.61288786471781, f(X) = 4.58832971617085E-12, after 4 passes.");
    const double root = calc().CurX.value();
    EXPECT_LE(std::abs(root * root * root - 3 * root - 10), 1e-6);
    EXPECT_NEAR(root, cell(1, 4), 1e-9);
    EXPECT_TRUE(markerAround(root, 0, 0.3));
    EXPECT_TRUE(markerAround(3, 8, 0.1));
    // The curve is blue somewhere on the surface, the tangents red.
    EXPECT_TRUE(graphHas(qRgb(0, 0, 255)));
    EXPECT_TRUE(graphHas(qRgb(255, 0, 0)));
}

TEST_F(DriverTest, LoopLimitsAndTolerances) {
    struct Case {
        const char* loops;
        const char* tolerance;
        long long rows;
        bool message;
    } cases[] = {
        {"0", "0.000001", 1, true},   {"-3", "0.000001", 1, true}, {"abc", "0.000001", 1, true},
        {"2.5", "0.000001", 4, true}, {"5", "-1", 6, true},        {"55", "1000", 1, false},
    };
    // Behind the message box the rows already worked out are on screen.
    int shownBehindBox = 0;
    dialogs.onMessage = [&](const auto&) {
        QApplication::processEvents();  // as the modal box does
        shownBehindBox += darkPixelsShownInXi(table().rowCount() - 1) > 5;
    };
    for (const auto& c : cases) {
        calculate("X^3-3X-10", "3", c.loops, c.tolerance);
        EXPECT_EQ(table().rowCount(), c.rows) << c.loops << " " << c.tolerance;
        EXPECT_EQ(countMessages(kNoRootMessage), c.message ? 1 : 0) << c.loops;
        EXPECT_EQ(cell(1, 0), 3);
    }
    EXPECT_EQ(shownBehindBox, 5);
    dialogs.onMessage = nullptr;
    // Within tolerance at once: row 0 and the root marker at the initial value.
    calculate("x-2", "2");
    EXPECT_EQ(table().rowCount(), 1);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(markerAround(2, 0, 0.3));
}

TEST_F(DriverTest, HardCasesAndTheResumeRule) {
    // log is undefined left of 0: those curve samples are skipped silently.
    calculate("log(x)", "1.5");
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_NEAR(calc().CurX.value(), 1.0, 1e-6);

    // A diverging iteration (each pass multiplies x by -9): once a tangent's
    // crossing and then the points leave what the graph can draw, one box
    // says so for each; then the final message.
    calculate("x/(x*x)^0.45", "2");
    EXPECT_EQ(table().rowCount(), 56);
    ASSERT_EQ(dialogs.messages.size(), 3u);
    EXPECT_EQ(overflowMessages(), 1);
    EXPECT_EQ(dialogs.messages[0].title, kErrMsgTitle);
    EXPECT_EQ(dialogs.messages[1].text.rfind("The point X = ", 0), 0u);
    EXPECT_EQ(dialogs.messages[2].text, kNoRootMessage);
    EXPECT_EQ(outcome().rfind("No root: stopped after 55 passes at X = ", 0), 0u);
}

TEST_F(DriverTest, StepModePausesOncePerPassWithInputsDisabled) {
    panel().ChkStep().setChecked(true);
    dialogs.onPause = [&] {
        for (QWidget* w : locked()) EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
        EXPECT_TRUE(panel().TexLoops().isEnabled());
        EXPECT_TRUE(panel().Command1().isEnabled());
        // Everything of the pass is on screen when the pause starts.
        EXPECT_EQ(table().rowCount(), calc().passes + 1);
        EXPECT_EQ(graph().caption(),
                  "drafting area--\\quorel tangent line/drawing,please just moment...");
        EXPECT_GT(darkPixelsShownInXi(calc().passes), 5);
    };
    calculate("X^3-3X-10", "3");
    EXPECT_EQ(dialogs.pauses, 4);
    for (QWidget* w : locked()) EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
}

TEST_F(DriverTest, EndDuringARunStopsItOtherInputIsBlockedAndAClickStartsAfterIt) {
    int ended = 0;
    QObject::disconnect(&panel(), &FrmFx::endRequested, nullptr, nullptr);
    QObject::connect(&panel(), &FrmFx::endRequested, [&] { ++ended; });
    panel().ChkStep().setChecked(true);
    dialogs.onPause = [&] {
        // A click on the graph during a run starts nothing.
        QTest::mouseClick(&graph().picThree(), Qt::LeftButton, {}, QPoint(30, 30));
        EXPECT_EQ(panel().TexDFT().text(), "3");
        if (dialogs.pauses == 2) QTest::mouseClick(&panel().Command1(), Qt::LeftButton);
    };
    calculate("X^3-3X-10", "3");
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(dialogs.pauses, 2);
    EXPECT_EQ(table().rowCount(), 2);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(outcome(), "Stopped by the user after 2 passes, at X = 2.66666668055549.");

    // Closing the pause dialog (or Escape in it) ends the whole calculation.
    dialogs.pauses = 0;
    dialogs.onPause = [&] { dialogs.closePause = dialogs.pauses == 3; };
    calculate("X^3-3X-10", "3");
    EXPECT_EQ(dialogs.pauses, 3);
    EXPECT_EQ(table().rowCount(), 3);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(outcome(), "Stopped by the user after 3 passes, at X = 2.61414141764309.");
    EXPECT_EQ(graph().caption(), kCaptionDone);
    for (QWidget* w : locked()) EXPECT_TRUE(w->isEnabled());

    // Calculate keeps the keyboard focus after a run.
    panel().ChkStep().setChecked(false);
    dialogs.onPause = nullptr;
    dialogs.closePause = false;
    panel().activateWindow();
    panel().CmdCal().setFocus();
    QTest::keyClick(&panel().CmdCal(), Qt::Key_Space);
    EXPECT_EQ(table().rowCount(), 5);
    EXPECT_EQ(QApplication::focusWidget(), &panel().CmdCal());

    // After the run a click on the graph starts from the x under the pointer.
    PlotSurface& s = graph().picThree();
    const ProgramState& st = main->state();
    QTest::mouseClick(&s, Qt::LeftButton, {}, s.toWidget(5.0 + st.OffX, st.OrgY).toPoint());
    EXPECT_NEAR(textToNumber(panel().TexDFT().text().toStdString()), 5.0, 0.08);
    EXPECT_EQ(cell(1, 0), textToNumber(panel().TexDFT().text().toStdString()));
}

}  // namespace
}  // namespace quorel
