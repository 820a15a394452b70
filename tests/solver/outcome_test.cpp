// What the outcome of a calculation says: the verdict on a small f(X), how the
// boxes were read, refused inputs, and one pass count for every ending.
#include <cmath>
#include <string>

#include "calculation_fixture.h"
#include "run/outcome.h"
#include "solver/input_reading.h"

namespace quorel {
namespace {

class OutcomeTest : public testing::CalculationTest {
  protected:
    const Outcome& outcome() { return panel().driver().outcome(); }
    std::string line() { return graph().outcomeText().toStdString(); }
    bool says(const std::string& part) { return line().find(part) != std::string::npos; }
    double xi(long long row) { return table().cellValue(1, row).value; }
    // Whether a marker of radius r is drawn about (x, y): marker pixels on
    // the line through y, at about r to the left and to the right of x.
    bool markerOfRadius(double x, double y, double r) {
        const ProgramState& st = main->state();
        const double pixel = 1.0 / 13;  // a plot unit is 200 twips wide
        auto markerNear = [&](double from, double to) {
            for (double px = from; px <= to; px += pixel / 2) {
                const QColor c = graph().picThree().pixelAt(px + st.OffX, y + st.OrgY);
                if (c.green() > 200 && c.red() < 100 && c.blue() < 100) return true;
            }
            return false;
        };
        const double lo = r - 0.06, hi = r + 0.06;
        return markerNear(x - hi, x - lo) && markerNear(x + lo, x + hi);
    }
    // Whether (x, y) lies inside the plot, where a marker could be seen.
    bool inPlot(double x, double y) {
        const ProgramState& st = main->state();
        return x + st.OffX > 1 && x + st.OffX < st.GraphW - 1 && std::abs(y) < st.OrgY - 1;
    }
};

// The run stops on |f(X)| within the error; the line calls X a root only with
// evidence, and the root marker follows the verdict.
TEST_F(OutcomeTest, ASmallFxIsCalledARootOnlyWithEvidence) {
    struct Case {
        const char* f;
        const char* x0;
        Verdict verdict;
        Evidence evidence;
        const char* says;
        double root = 0.0;  // where a root is known in closed form
    } cases[] = {
        // The real root of x^3-3x-10: Cardano's formula.
        {"X^3-3X-10", "3", Verdict::Root, Evidence::SignChange,
         "Root X = ", std::cbrt(5 + std::sqrt(24.0)) + std::cbrt(5 - std::sqrt(24.0))},
        // The fixed point of cos, known to 16 digits.
        {"cos(x)-x", "1", Verdict::Root, Evidence::SignChange, "Root X = ", 0.7390851332151607},
        {"x-1", "3", Verdict::Root, Evidence::SignChange, "Root X = ", 1.0},
        {"x", "0", Verdict::Root, Evidence::ExactZero, "f(X) is exactly 0"},
        {"x^2", "1", Verdict::SlowRoot, Evidence::SteadyRatio, "as near a multiple root"},
        {"x^3", "1", Verdict::SlowRoot, Evidence::SteadyRatio, "as near a multiple root"},
        {"exp(-x)", "1", Verdict::NoRootShown, Evidence::SameSteps,
         "X moves by 1 each pass: f approaches 0 without crossing it"},
        {"1/x", "3", Verdict::NoRootShown, Evidence::GrowingSteps, "without crossing it"},
        {"(3x^2)*exp(2x-1)", "-10", Verdict::NoRootShown, Evidence::NoPass,
         "no pass was made: try a smaller error"},
    };
    for (const Case& c : cases) {
        calculate(c.f, c.x0);
        const std::string at = std::string(c.f) + " from " + c.x0 + ": " + line();
        const Outcome& o = outcome();
        ASSERT_EQ(o.ending, Ending::WithinError) << at;
        EXPECT_EQ(o.verdict, c.verdict) << at;
        EXPECT_EQ(o.evidence, c.evidence) << at;
        EXPECT_TRUE(says(c.says)) << at;
        EXPECT_EQ(o.x, xi(o.passes)) << at;
        EXPECT_EQ(line().rfind("Root X = ", 0) == 0, c.verdict == Verdict::Root) << at;
        EXPECT_TRUE(dialogs.messages.empty()) << at;
        // The root marker only under a Root verdict; the last X is marked
        // as any iterate otherwise.
        if (inPlot(o.x, o.fx)) {
            EXPECT_EQ(markerOfRadius(o.x, o.fx, 0.3), c.verdict == Verdict::Root) << at;
            EXPECT_TRUE(markerOfRadius(o.x, o.fx, c.verdict == Verdict::Root ? 0.3 : 0.1)) << at;
        }
        if (c.evidence == Evidence::SignChange) {
            // The line names the last step and the distance within which f
            // changes sign; the root lies within that distance.
            const double step = o.lastSteps.back();
            EXPECT_EQ(step, std::abs(xi(o.passes) - xi(o.passes - 1))) << at;
            EXPECT_TRUE(says("f changes sign within " + shortFigure(o.distance) +
                             " of X (last step " + shortFigure(step) + ")"))
                << at;
            EXPECT_LE(std::abs(o.x - c.root), o.distance) << at;
            EXPECT_LT(o.distance, 1e-6) << at;
        }
        if (c.verdict == Verdict::SlowRoot) {
            // The root is 0: the estimate of the distance to it is close.
            EXPECT_NEAR(o.distance, std::abs(o.x), std::abs(o.x) * 0.01) << at;
            EXPECT_TRUE(says("the root is about " + shortFigure(o.distance) + " from X")) << at;
        }
    }
}

// A box that held more than its number says how it was read; an error below
// 0 is refused with one message and nothing is calculated.
TEST_F(OutcomeTest, InputsAreToldAsReadAndANegativeErrorIsRefused) {
    struct Case {
        const char* x0;
        const char* loops;
        const char* error;
        const char* note;
    } cases[] = {
        {"2,5", "55", "0.000001", "initial value= read as 2; the rest, \",5\", was ignored."},
        {"abc", "55", "0.000001", "initial value= read as 0; the rest, \"abc\", was ignored."},
        {"3", "3x", "0.000001", "Loops = read as 3; the rest, \"x\", was ignored."},
        {"3", "55", "1e-6 ", nullptr},
    };
    for (const Case& c : cases) {
        calculate("X^3-3X-10", c.x0, c.loops, c.error);
        const std::string at = std::string(c.x0) + " " + c.loops + ": " + line();
        EXPECT_EQ(c.note != nullptr, !outcome().readAs.empty()) << at;
        if (c.note) {
            EXPECT_TRUE(says(c.note)) << at;
        }
        EXPECT_EQ(cell(1, 0), textToNumber(c.x0)) << at;
    }

    for (const char* error : {"-1", "-0.000001"}) {
        calculate("X^3-3X-10", "3", "55", error);
        ASSERT_EQ(dialogs.messages.size(), 1u) << error;
        EXPECT_EQ(dialogs.messages[0].text, kNegativeErrorMessage);
        EXPECT_EQ(table().cellText(1, 0), "") << error;
        EXPECT_EQ(outcome().ending, Ending::NotCalculated) << error;
        EXPECT_TRUE(panel().CmdCal().isEnabled());
    }
    // 0 stays allowed: it stops only at an exact zero.
    calculate("x-1", "3", "55", "0");
    EXPECT_TRUE(outcome().isRoot());
    EXPECT_TRUE(dialogs.messages.empty());
}

// Every ending counts its passes alike: the next X computed, the number of the last row.
TEST_F(OutcomeTest, EveryEndingCountsPassesAsTheLastRowsNumber) {
    struct Case {
        const char* f;
        const char* x0;
        const char* loops;
        Ending ending;
        int stopAtPause = 0;
    } cases[] = {
        {"X^3-3X-10", "3", "55", Ending::WithinError}, {"3X^2-2X+1", "1", "7", Ending::LoopLimit},
        {"X^3-3X-10", "3", "55", Ending::Stopped, 2},  {"log(x)", "10", "55", Ending::Uncomputable},
        {"5", "3", "55", Ending::ZeroSlope},
    };
    for (const Case& c : cases) {
        panel().ChkStep().setChecked(c.stopAtPause > 0);
        dialogs.pauses = 0;
        dialogs.closePause = false;
        dialogs.onPause = [&] { dialogs.closePause = dialogs.pauses == c.stopAtPause; };
        calculate(c.f, c.x0, c.loops);
        const std::string at = std::string(c.f) + ": " + line();
        EXPECT_EQ(outcome().ending, c.ending) << at;
        EXPECT_EQ(outcome().passes, table().rowCount() - 1) << at;
        const long long n = outcome().passes;
        EXPECT_TRUE(says(std::to_string(n) + (n == 1 ? " pass" : " passes"))) << at;
    }
    dialogs.onPause = nullptr;
}

}  // namespace
}  // namespace quorel
