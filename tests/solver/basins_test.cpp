#include <QAccessible>
#include <QApplication>
#include <QMouseEvent>
#include <climits>
#include <cmath>

#include "calculation_fixture.h"
#include "engine/engine.h"
#include "graph/basin_strip.h"
#include "solver/basin_filler.h"
#include "solver/basins.h"

namespace quorel {
namespace {

// The strip's model for one f(x) at the program's error and loop limit.
struct Model {
    explicit Model(const char* f, double loops = 55) : map(engine, 1e-6, loops) {
        engine.Fx_Postfix(f);
    }
    const BasinEntry& endOf(double x0) {
        map.start({x0});
        map.work(LLONG_MAX);
        return map.picture().legend[map.picture().columns[0]];
    }
    testing::RecordingDialogs dialogs;
    Engine engine;
    BasinMap map;
};

TEST(BasinModel, NeighbouringStartsOfACubicReachItsThreeRoots) {
    Model m("x^3-x");
    std::vector<double> xs;
    for (int i = 0; i <= 600; ++i) xs.push_back(-3 + i * 0.01);
    m.map.start(xs);
    while (m.map.work(LLONG_MAX)) {
    }
    const BasinPicture& p = m.map.picture();
    ASSERT_TRUE(p.complete());
    std::vector<double> roots;
    for (const BasinEntry& e : p.legend)
        if (e.kind == BasinKind::Root) roots.push_back(e.root);
    ASSERT_EQ(roots.size(), 3u);
    std::sort(roots.begin(), roots.end());
    EXPECT_NEAR(roots[0], -1, 1e-6);
    EXPECT_NEAR(roots[1], 0, 1e-6);
    EXPECT_NEAR(roots[2], 1, 1e-6);
    // Nearly every start ends in one of them; a start whose one pass lands
    // within the error with no sign change about it shows none (0.5 lands
    // next to -1), as its calculation says.
    const auto inRoot = std::count_if(p.columns.begin(), p.columns.end(),
                                      [&](int c) { return p.legend[c].kind == BasinKind::Root; });
    EXPECT_GE(inRoot, 595);

    for (auto [x0, root] : {std::pair{2.0, 1.0}, {-2.0, -1.0}, {0.1, 0.0}}) {
        const BasinEntry& e = m.endOf(x0);
        EXPECT_EQ(e.kind, BasinKind::Root) << x0;
        EXPECT_NEAR(e.root, root, 1e-6) << x0;
        EXPECT_EQ(e.name, "root " + numberToText(root)) << x0;
    }
}

TEST(BasinModel, ArctangentConvergesFromNearAndRunsAwayFromFar) {
    Model m("atn(x)");
    EXPECT_EQ(m.endOf(1.3).kind, BasinKind::Root);
    EXPECT_NEAR(m.endOf(1.3).root, 0, 1e-6);
    EXPECT_NE(m.endOf(2).kind, BasinKind::Root);
    // Too few passes to get there: the loop limit, in grey.
    Model few("atn(x)", 2);
    EXPECT_EQ(few.endOf(1.3).kind, BasinKind::LoopLimit);
    EXPECT_EQ(BasinStrip::entryColour(few.endOf(1.3)).saturation(), 0);
}

// The strip through the program: after a calculation, from the latest f,
// error and loop limit.
class BasinStripTest : public testing::CalculationTest {
  protected:
    BasinStrip& strip() { return graph().basins(); }
    // Lets the event loop give every slice of the strip.
    void settle() {
        for (int i = 0; i < 200 && main->basinFiller().filling(); ++i)
            QApplication::processEvents();
    }
};

TEST_F(BasinStripTest, EachStartEndsWhereACalculationFromItEnds) {
    // The strip's model and the driver share their rules: a start ends
    // where a calculation from it ends, to the bit.
    for (auto [f, x0] : {std::pair{"x^3-x", 2.0},
                         {"x^3-x", 0.45},
                         {"atn(x)", 1.3},
                         {"atn(x)", 2.0},
                         {"x^2", 1.0},
                         {"exp(-x)", 1.0}}) {
        calculate(f, numberToText(x0).c_str());
        const Outcome& o = panel().driver().outcome();
        testing::RecordingDialogs d;
        Engine e;
        e.Fx_Postfix(f);
        TangentStep step(e, 1e-6, 55);
        const StartEnd end = *StartRun(step, x0).advance(LLONG_MAX);
        EXPECT_EQ(end.x, o.x) << f << " " << x0;
        EXPECT_EQ(end.kind == BasinKind::Root, o.isRoot()) << f << " " << x0;
    }
}

TEST_F(BasinStripTest, ShownAfterACalculationItsPixelsAreItsModel) {
    EXPECT_FALSE(graph().basinsShown());
    calculate("x^3-x", "2");
    settle();
    ASSERT_TRUE(graph().basinsShown());
    EXPECT_EQ(strip().objectName(), "basins");
    EXPECT_EQ(strip().height(), BasinStrip::kHeight);
    PlotSurface& s = graph().picThree();
    EXPECT_EQ(strip().geometry().bottom(), s.height() - 3);
    const BasinPicture& p = strip().picture();
    ASSERT_TRUE(p.complete());
    // One column per device pixel, each the world x under it.
    const double dpr = strip().devicePixelRatioF();
    ASSERT_EQ(int(p.xs.size()), std::lround(strip().width() * dpr));
    for (int c : {0, int(p.xs.size()) / 3, int(p.xs.size()) - 1}) {
        const double under =
            graph().worldAt(s.shownUserAt(QPointF(2 + (c + 0.5) / dpr, 0)).x(), 0).x();
        EXPECT_DOUBLE_EQ(p.xs[c], under);
    }
    // Three roots, in three colours.
    int roots = 0;
    for (const BasinEntry& e : p.legend) roots += e.kind == BasinKind::Root;
    EXPECT_EQ(roots, 3);
    const QImage shown = strip().grab().toImage();
    ASSERT_EQ(shown.width(), int(p.xs.size()));
    for (int c = 0; c < shown.width(); ++c)
        for (int y : {0, shown.height() - 1})
            ASSERT_EQ(QColor(shown.pixel(c, y)), strip().columnColour(c)) << c;
    // The centre label and the outcome line stand above the strip.
    const QRect outcome = graph().findChild<QLabel*>("outcomeLine")->geometry();
    EXPECT_LT(outcome.bottom(), strip().geometry().top());
    // The accessible description goes from left to right through the roots.
    const QString d = strip().accessibleDescription();
    EXPECT_TRUE(
        d.startsWith("x from " + QString::fromStdString(numberToText(roundHalfEven(p.xs[0], 2)))));
    EXPECT_TRUE(d.contains(": root -1;")) << d.toStdString();
    EXPECT_TRUE(d.contains(": root 0;")) << d.toStdString();
    EXPECT_TRUE(d.endsWith(": root 1")) << d.toStdString();
    // The tooltip's text names the root under the pointer.
    const int at2 = int(std::lower_bound(p.xs.begin(), p.xs.end(), 2.0) - p.xs.begin());
    EXPECT_EQ(strip().nameAt((at2 + 0.5) / dpr).toStdString(), "root 1");
}

TEST_F(BasinStripTest, FollowsTheViewAndTheKeyAndAClickCalculatesFromItsColumn) {
    calculate("x^3-x", "0");
    settle();
    const std::vector<double> before = strip().picture().xs;
    PlotSurface& s = graph().picThree();
    s.setFocus();
    QTest::keyClick(&s, Qt::Key_Plus);
    settle();
    const BasinPicture& zoomed = strip().picture();
    EXPECT_TRUE(zoomed.complete());
    EXPECT_NE(zoomed.xs, before);
    EXPECT_EQ(zoomed.xs, strip().viewXs());
    EXPECT_LT(zoomed.xs.back() - zoomed.xs.front(), before.back() - before.front());

    // A click on a column runs from its x, as a click on the graph does
    // (one DIP holds two columns at ratio 2).
    const double dpr = strip().devicePixelRatioF();
    const int at = strip().width() / 4;
    std::vector<std::string> columnTexts;
    for (int c = int(at * dpr); c < int((at + 1) * dpr); ++c)
        columnTexts.push_back(numberToText(roundHalfEven(zoomed.xs[c], 3)));
    QTest::mouseClick(&strip(), Qt::LeftButton, {}, QPoint(at, 4));
    const std::string started = panel().TexDFT().text().toStdString();
    EXPECT_TRUE(std::ranges::find(columnTexts, started) != columnTexts.end()) << started;
    EXPECT_EQ(table().cellText(1, 0), started);
    settle();
    EXPECT_TRUE(graph().basinsShown());

    // B hides it and shows it again; the outcome line goes down with it.
    const QLabel* outcome = graph().findChild<QLabel*>("outcomeLine");
    const int shownAt = outcome->geometry().bottom();
    s.setFocus();
    QTest::keyClick(&s, Qt::Key_B);
    EXPECT_FALSE(graph().basinsShown());
    EXPECT_EQ(outcome->geometry().bottom(), shownAt + BasinStrip::kHeight);
    QTest::keyClick(&s, Qt::Key_B);
    EXPECT_TRUE(graph().basinsShown());
    EXPECT_EQ(outcome->geometry().bottom(), shownAt);
}

TEST_F(BasinStripTest, AWideSlowStripFillsInSlicesOfAFrame) {
    // Each read of the clock is 1 ms later: a slice works out about 12 columns.
    long long now = 0;
    main->basinFiller().setClock([&now] { return now++; });
    calculate("atn(x)", "2", "5000");
    ASSERT_TRUE(main->basinFiller().filling());
    const BasinPicture& first = strip().picture();
    const auto done = [](const BasinPicture& p) {
        return std::count_if(p.columns.begin(), p.columns.end(),
                             [](int c) { return c != BasinPicture::kPending; });
    };
    EXPECT_EQ(done(first), BasinFiller::kSliceMs);
    QApplication::processEvents();
    EXPECT_EQ(done(strip().picture()), 2 * BasinFiller::kSliceMs);
    settle();
    EXPECT_TRUE(strip().picture().complete());
    EXPECT_FALSE(strip().accessibleDescription().isEmpty());
}

}  // namespace
}  // namespace quorel
