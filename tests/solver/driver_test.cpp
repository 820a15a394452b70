#include <QScreen>
#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <new>
#include <random>

#include "allocation_failure.h"
#include "calculation_fixture.h"
#include "engine/err_msg.h"
#include "run/row_store.h"
#include "solver/driver.h"
#include "solver/outcome.h"

namespace quorel {
namespace {

// One calculation's inputs; step by step, closed at pause `stopAtPause` (1 the first).
struct Inputs {
    const char* f;
    const char* x0;
    const char* loops = "55";
    const char* tolerance = "0.000001";
    int stopAtPause = 0;
};

// Everything a calculation shows: cells, boxes, outcome, caption, graph pixels.
struct Shown {
    std::vector<std::string> cells;
    std::vector<std::string> boxes;
    std::string outcome;
    std::string caption;
    QImage graph;
    bool operator==(const Shown&) const = default;
};

Shown calculateOn(MDIForm1& m, testing::RecordingDialogs& d, const Inputs& in) {
    FrmFx& p = m.frmFx();
    p.CmbFx().setEditText(in.f);
    p.TexDFT().setText(in.x0);
    p.TexLoops().setText(in.loops);
    p.TexError().setText(in.tolerance);
    p.ChkStep().setChecked(in.stopAtPause > 0);
    d.messages.clear();
    d.pauses = 0;
    d.closePause = false;
    d.onPause = [&d, stop = in.stopAtPause] { d.closePause = d.pauses == stop; };
    p.CmdCal_Click();
    d.onPause = nullptr;
    Shown s;
    FrmDSPDTA& t = m.frmDspdta();
    for (long long r = 0; r < t.rowCount(); ++r)
        for (int c = 0; c < 4; ++c) s.cells.push_back(t.cellText(c, r));
    for (const auto& b : d.messages) s.boxes.push_back(b.title + ": " + b.text);
    s.outcome = m.frmGraph().outcomeText().toStdString();
    s.caption = m.frmGraph().caption();
    s.graph = m.frmGraph().picThree().image();
    return s;
}

Shown calculateFresh(const Inputs& in) {
    testing::RecordingDialogs d;
    MDIForm1 m(&d);
    m.show();
    QApplication::processEvents();
    return calculateOn(m, d, in);
}

class DriverTest : public testing::CalculationTest {
  protected:
    // Dark text pixels in a row's Xi cell as on screen (the backing store), not re-rendered.
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
}

TEST_F(DriverTest, LoopLimitsAndTolerances) {
    struct Case {
        const char* loops;
        const char* tolerance;
        long long rows;
        bool message;
    } cases[] = {
        {"0", "0.000001", 1, true},   {"-3", "0.000001", 1, true}, {"abc", "0.000001", 1, true},
        {"2.5", "0.000001", 4, true}, {"55", "1000", 1, false},
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
        EXPECT_EQ(
            std::ranges::count(dialogs.messages, kNoRootMessage, &testing::ShownMessage::text),
            c.message)
            << c.loops;
        EXPECT_EQ(cell(1, 0), 3);
    }
    EXPECT_EQ(shownBehindBox, 4);
    dialogs.onMessage = nullptr;
    // Within tolerance at once: row 0 and the root marker at the initial value.
    calculate("x-2", "2");
    EXPECT_EQ(table().rowCount(), 1);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(markerAround(2, 0, 0.3));
}

TEST_F(DriverTest, ADivergingRunTellsEachKindOfBoxOnce) {
    // Diverging (each pass multiplies x by -9): one box when a tangent's crossing,
    // one when the points leave what the graph can draw, then the final message.
    calculate("x/(x*x)^0.45", "2");
    EXPECT_EQ(table().rowCount(), 56);
    ASSERT_EQ(dialogs.messages.size(), 3u);
    EXPECT_EQ(dialogs.messages[0].title, kErrMsgTitle);
    for (int i : {1, 2}) EXPECT_NE(dialogs.messages[i].title, kErrMsgTitle);
    EXPECT_EQ(dialogs.messages[1].text.rfind("The point X = ", 0), 0u);
    EXPECT_EQ(dialogs.messages[2].text, kNoRootMessage);
    EXPECT_EQ(outcome().rfind("No root: stopped after 55 passes at X = ", 0), 0u);
}

TEST_F(DriverTest, StepModePausesOncePerPassWithInputsDisabled) {
    calculate("X^3-3X-10", "3");
    const std::string plain = outcome();
    panel().ChkStep().setChecked(true);
    QWidget* outer = outerWindow(&graph());
    dialogs.onPause = [&] {
        for (QWidget* w : locked()) EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
        EXPECT_TRUE(panel().TexLoops().isEnabled());
        EXPECT_TRUE(panel().Command1().isEnabled());
        // Everything of the pass is on screen when the pause starts.
        EXPECT_EQ(table().rowCount(), calc().passes + 1);
        EXPECT_EQ(graph().caption(),
                  "drafting area--\\quorel tangent line/drawing,please just moment...");
        EXPECT_GT(darkPixelsShownInXi(calc().passes), 5);
        // A new size mid-run: the graph drawn afresh, its curve sampled again.
        if (dialogs.pauses == 2) outer->resize(outer->size() + QSize(120, 60));
    };
    calculate("X^3-3X-10", "3");
    EXPECT_EQ(dialogs.pauses, 4);
    for (QWidget* w : locked()) EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    // The run ends as it would have, every pass marked.
    EXPECT_EQ(outcome(), plain);
    EXPECT_EQ(graph().picThree().passCount(), table().rowCount());
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
    EXPECT_EQ(table().rowCount(), 3);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(panel().driver().outcome().ending, Ending::Stopped);
    EXPECT_EQ(panel().driver().outcome().passes, 2);
    EXPECT_EQ(panel().driver().outcome().x, table().cellValue(1, 2).value);

    // Closing the pause dialog (or Escape in it) ends the whole calculation.
    dialogs.pauses = 0;
    dialogs.onPause = [&] { dialogs.closePause = dialogs.pauses == 3; };
    calculate("X^3-3X-10", "3");
    EXPECT_EQ(dialogs.pauses, 3);
    EXPECT_EQ(table().rowCount(), 4);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(panel().driver().outcome().ending, Ending::Stopped);
    EXPECT_EQ(panel().driver().outcome().passes, 3);
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

// Escape in any window stops a long run at the end of a pass within 100 ms of
// its clock: what it showed stays, the inputs come back, and the next run is
// as on a fresh program. In a step pause Escape closes the pause to the same end.
TEST_F(DriverTest, EscapeStopsARunAndKeepsWhatItShowed) {
    const Shown typical = calculateFresh({"X^3-3X-10", "3"});
    long long now = 0;
    long long pressedAt = -1;
    panel().driver().setClock([&] {
        now += 5;
        if (now == 2000) {
            pressedAt = now;
            QCoreApplication::postEvent(table().rowsView(),
                                        new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, {}));
        }
        return now;
    });
    calculate("x^2+1", "0.5", "1e9");
    ASSERT_GT(pressedAt, 0);
    EXPECT_LE(now - pressedAt, 100);
    const Outcome& o = panel().driver().outcome();
    EXPECT_EQ(o.ending, Ending::Stopped);
    EXPECT_GT(table().rowCount(), 1000);
    EXPECT_EQ(o.passes, table().rowCount() - 1);
    EXPECT_EQ(o.x, table().cellValue(1, o.passes).value);
    EXPECT_EQ(graph().picThree().passCount(), table().rowCount());
    EXPECT_EQ(
        outcome().rfind("Stopped by the user after " + std::to_string(o.passes) + " passes", 0),
        0u);
    for (QWidget* w : locked()) EXPECT_TRUE(w->isEnabled());
    EXPECT_TRUE(calculateOn(*main, dialogs, {"X^3-3X-10", "3"}) == typical);

    calculateOn(*main, dialogs, {"X^3-3X-10", "3", "55", "0.000001", 2});
    EXPECT_EQ(panel().driver().outcome().ending, Ending::Stopped);
    EXPECT_EQ(panel().driver().outcome().passes, table().rowCount() - 1);
    EXPECT_TRUE(calculateOn(*main, dialogs, {"X^3-3X-10", "3"}) == typical);
}

// Good, failing, malformed and stopped calculations, each twice, in a random order.
TEST_F(DriverTest, EveryCalculationShowsWhatItShowsOnAFreshProgram) {
    const std::vector<Inputs> pool = {
        {"X^3-3X-10", "3"},
        {"sin(x)-cos(x)+0.2x", "2"},
        {"3X^3-2X^2-8", "1"},
        {"3X^2-2X+1", "1"},  // no root: the loop limit
        {"x^2+0.0015", "0", "5", "0.001"},
        {"sqr(x)", "-4"},
        {"1/(x-3)", "3"},
        {"log(x)", "-1"},
        {"log(x)", "10"},
        {"5", "3"},
        {"exp(x)", "700"},
        {"log(x^9-x^7+x^5)/log(9)-x-8", "7"},
        {"log(x^9-x^7+x^5)/log(9)-x-8", ""},
        {"x*-2", "1"},
        {"sin", "2"},
        {"X^3-3X-10", "1e999"},
        {"X^3-3X-10", "3", "55", "1e999"},
        {"X^3-3X-10", "3", "-1e999"},
        {"X^3-3X-10", "3", "55", "0.000001", 2},
        {"sin(x)-cos(x)+0.2x", "7", "55", "0.000001", 1},
    };
    std::map<std::size_t, Shown> fresh;
    std::vector<std::size_t> order;
    for (int twice = 0; twice < 2; ++twice)
        for (std::size_t k = 0; k < pool.size(); ++k) order.push_back(k);
    std::mt19937 random(14);
    std::shuffle(order.begin(), order.end(), random);
    for (std::size_t i = 0; i < order.size(); ++i) {
        const std::size_t k = order[i];
        const Inputs& in = pool[k];
        const Shown shown = calculateOn(*main, dialogs, in);
        if (!fresh.count(k)) fresh.emplace(k, calculateFresh(in));
        const Shown& want = fresh.at(k);
        const std::string at =
            std::string(in.f) + " from " + in.x0 + ", calculation " + std::to_string(i);
        EXPECT_TRUE(shown == want) << at;
        EXPECT_FALSE(shown.outcome.empty()) << at;
    }
}

// Out of memory in a calculation, met by the row store or by a message: told
// by a box (or the outcome line), the inputs come back and the next
// calculation is right.
TEST_F(DriverTest, OutOfMemoryInACalculationIsSurvived) {
    const Shown typical = calculateFresh({"X^3-3X-10", "3"});
    auto survived = [&](const std::string& at, long long passes, bool box) {
        EXPECT_EQ(panel().driver().outcome().ending, Ending::OutOfMemory) << at;
        EXPECT_EQ(panel().driver().outcome().passes, passes) << at;
        EXPECT_EQ(graph().outcomeText().toStdString(), outcomeText(panel().driver().outcome()))
            << at;
        EXPECT_EQ(dialogs.messages.empty() ? "" : dialogs.messages.back().text,
                  box ? kOutOfMemoryMessage : "")
            << at;
        EXPECT_EQ(graph().caption(), kCaptionDone) << at;
        for (QWidget* w : locked()) EXPECT_TRUE(w->isEnabled()) << at;
        dialogs.onMessage = nullptr;
        dialogs.onPause = nullptr;
        EXPECT_TRUE(calculateOn(*main, dialogs, {"X^3-3X-10", "3"}) == typical) << at;
    };
    auto calculate = [&](const char* f, const char* x0, const char* loops, const char* tolerance,
                         bool stepByStep) {
        panel().CmbFx().setEditText(f);
        panel().TexDFT().setText(x0);
        panel().TexLoops().setText(loops);
        panel().TexError().setText(tolerance);
        panel().ChkStep().setChecked(stepByStep);
        dialogs.messages.clear();
        panel().CmdCal_Click();
    };

    // A message box cannot be made: the one that says no root was reached, or
    // every one, the out-of-memory box too. A box that cannot be made is not shown.
    for (bool every : {false, true}) {
        dialogs.onMessage = [&](const testing::ShownMessage& m) {
            if (!every && m.text == kOutOfMemoryMessage) return;
            dialogs.messages.pop_back();
            throw std::bad_alloc();
        };
        calculate("3X^2-2X+1", "1", "55", "0.000001", false);
        survived(every ? "every message" : "no-root message", 55, !every);
    }

    // The row store refuses the block the row after a full block needs. Memory
    // runs short during the pause after that block's last row; the box can
    // still be made once the reserve is let go.
    std::unique_ptr<testing::AllocationFailure> refuse;
    int refused = 0;
    dialogs.onPause = [&] {
        if (table().rowCount() == RowStore::kBlockRows)
            refuse = std::make_unique<testing::AllocationFailure>(4096);
    };
    dialogs.onMessage = [&](const testing::ShownMessage&) {
        if (!refuse) return;
        refused = testing::refusedAllocations();
        refuse.reset();
    };
    calculate("3X^2-2X+1", "1", "5000", "0.000001", true);
    EXPECT_GE(refused, 1);
    EXPECT_EQ(table().rowCount(), RowStore::kBlockRows);
    survived("row store", RowStore::kBlockRows, true);
}

}  // namespace
}  // namespace quorel
