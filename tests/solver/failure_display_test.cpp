// What the user is shown of failures in whole calculations through the real
// windows: the boxes and the outcome of every way a calculation ends, failure
// names instead of values that were not computed, gaps in the curve, a
// malformed f(x) or a number beyond the double range told once.

#include "calculation_fixture.h"
#include "common/failure.h"
#include "engine/engine.h"
#include "solver/driver.h"
#include "solver/failure_messages.h"

namespace quorel {
namespace {

class FailureDisplayTest : public testing::CalculationTest {
  protected:
    bool graphHasTangents() { return graphHas(qRgb(255, 0, 0)); }
    // Equal, or for an expected text ending in "*" beginning with the rest.
    static bool same(const std::string& shown, const std::string& expected) {
        if (!expected.empty() && expected.back() == '*')
            return shown.rfind(expected.substr(0, expected.size() - 1), 0) == 0;
        return shown == expected;
    }
    using Row = std::vector<std::string>;
};

// Every way a calculation ends: its boxes, its last row and the outcome on the graph.
TEST_F(FailureDisplayTest, EachEndingWithItsBoxesRowsAndOutcome) {
    struct Case {
        const char* f;
        const char* x0;
        std::vector<std::string> boxes;
        long long rows;
        Row lastRow;
        std::string outcome;
        const char* loops = "55";
    } cases[] = {
        {"sqr(x)",
         "-4",
         {"f(X) cannot be computed at X = -4: an argument lies outside a function's domain (log "
          "of a number <= 0, sqr of a negative number, a negative number to a fractional power). "
          "The iteration ended there."},
         1,
         Row{"0.", "-4", "domain", "domain"},
         "f(X) cannot be computed at X = -4 (domain), after 0 passes."},
        {"1/(x-3)",
         "3",
         {"f(X) cannot be computed at X = 3: a number is divided by 0.*"},
         1,
         Row{"0.", "3", "division", "1000000"},
         "f(X) cannot be computed at X = 3 (division), after 0 passes."},
        // The next iterate lies where log is undefined.
        {"log(x)",
         "10",
         {"f(X) cannot be computed at X = -13.0258432546562*"},
         2,
         Row{"1.", "-13.025843255", "domain", "domain"},
         "f(X) cannot be computed at X = -13.0258432546562 (domain), after 1 pass."},
        {"5",
         "3",
         {"The slope f'(X) at X = 3 is exactly 0: the tangent never meets the x axis, so there "
          "is no next X. The iteration ended there."},
         1,
         Row{"0.", "3", "5", "0"},
         "Zero slope at X = 3 after 0 passes: no next X."},
        // Every curve sample overflows, and f at the initial value.
        {"exp(x)",
         "1000",
         {"f(x) lies beyond the range of a double (about 1.8E+308), or is 0/0, at some x of the "
          "curve (the first at x = 984): those points are left out of the curve.",
          "f(X) cannot be computed at X = 1000: a result lies beyond the range of a double (about "
          "1.8E+308), or is 0/0. The iteration ended there."},
         1,
         Row{"0.", "1000", "overflow", "overflow"},
         "f(X) cannot be computed at X = 1000 (overflow), after 0 passes."},
        // The curve overflows right of 709.78; every point lies beyond the drawing.
        {"exp(x)",
         "700",
         {"f(x) lies beyond the range of a double (about 1.8E+308), or is 0/0, at some x of the "
          "curve (the first at x = 709.79)*",
          "The point X = 700, f(X) = 1.014232054735E+304 lies beyond what the graph can draw "
          "(about 3.4E+38): such points and their tangents are left out of the graph; the table "
          "lists them.",
          kNoRootMessage},
         56,
         Row{"55.", "645.09155983", "1.4444574682E+280", "1.44686610135E+280"},
         "No root: stopped after 55*"},
        // A steep curve beyond the drawing is not a horizontal tangent.
        {"(3x^2)*exp(2x-1)",
         "100",
         {"The point X = 100, *", kNoRootMessage},
         56,
         Row{},
         "No root: stopped after 55 passes*"},
    };
    for (const Case& c : cases) {
        calculate(c.f, c.x0, c.loops);
        const std::string at = std::string(c.f) + " from " + c.x0;
        ASSERT_EQ(dialogs.messages.size(), c.boxes.size()) << at;
        for (std::size_t i = 0; i < c.boxes.size(); ++i)
            EXPECT_TRUE(same(dialogs.messages[i].text, c.boxes[i]))
                << at << ": " << dialogs.messages[i].text;
        ASSERT_EQ(table().rowCount(), c.rows) << at;
        if (!c.lastRow.empty()) {
            EXPECT_EQ(rowTexts(c.rows - 1), c.lastRow) << at;
        }
        EXPECT_TRUE(same(graph().outcomeText().toStdString(), c.outcome))
            << at << ": " << graph().outcomeText().toStdString();
        EXPECT_EQ(graph().caption(), kCaptionDone) << at;
        EXPECT_TRUE(panel().CmdCal().isEnabled()) << at;
    }
}

// Gaps where f has no value: no blue, no line from the label or across a gap.
TEST_F(FailureDisplayTest, TheCurveHasGapsWhereFHasNoValue) {
    struct Case {
        const char* f;
        const char* x0;
        double gapFrom, gapTo;  // world x
    } cases[] = {{"sqr(x)", "-4", -100, 0}, {"log(x)", "1", -100, 0}, {"sqr(x^2-4)", "0", -2, 2}};
    for (const Case& c : cases) {
        calculate(c.f, c.x0);
        PlotSurface& s = graph().picThree();
        const QImage img = s.image();
        auto column = [&](double x) {
            return s.toWidget(x + main->state().OffX, 0).x() * img.devicePixelRatio();
        };
        int blueInGap = 0, blueElsewhere = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (img.pixel(x, y) == qRgb(0, 0, 255))
                    ++(x > column(c.gapFrom) + 3 && x < column(c.gapTo) - 3 ? blueInGap
                                                                            : blueElsewhere);
        EXPECT_EQ(blueInGap, 0) << c.f;
        EXPECT_GT(blueElsewhere, 100) << c.f;
    }
}

TEST_F(FailureDisplayTest, AnFxThatCanGiveNoValueIsToldOnceAndEndsTheCalculation) {
    std::string longSum = "x";
    for (int i = 0; i < 300; ++i) longSum += "+x";
    struct Case {
        std::string f;
        std::string told;
    } cases[] = {
        {"x*-2",
         "f(x) \"x*-2\" cannot be calculated: the operator \"*\" at position 2 lacks an "
         "operand. A sign right after an operator needs parentheses: write x*(-2)."},
        {"sin",
         "f(x) \"sin\" cannot be calculated: the function \"sin\" at position 1 has no "
         "argument. Write its argument in parentheses, for example sin(x)."},
        {"",
         "f(x) is empty: there is nothing to calculate. Type a function of x, for example "
         "X^3-3X-10."},
        {"+",
         "f(x) \"+\" cannot be calculated: the sign \"+\" at position 1 has nothing to "
         "apply to. Write a number, x or an expression after it, for example -x."},
        {"1e999*x",
         "f(x) \"1e999*x\" cannot be calculated: the number \"1e999\" at position 1 "
         "lies beyond the range of a double (about 1.8E+308)."},
        {"((",
         "f(x) \"((\" cannot be calculated: the \"(\" at position 2 holds no expression. "
         "Every \"(\" needs an expression and its \")\", for example (x+1)*(x-2)."},
        {"x-pi",
         "f(x) \"x-pi\" cannot be calculated: \"pi\" at position 3 is not a number, x, "
         "an operator or a function. Write the number itself, for example 3.14159265358979."},
        {"x\tx$",
         "f(x) \"x\tx$\" cannot be calculated: \"$\" at position 4 is not a number, x, "
         "an operator or a function. f(x) is made of numbers, x, + - * / ^, parentheses and the "
         "functions sin, cos, tan, atn, exp, log and sqr."},
        {")",
         "f(x) \")\" cannot be calculated: the \")\" at position 1 has no expression before "
         "it. Every \")\" closes an expression opened by \"(\", for example (x+1)*(x-2)."},
        {"x2",
         "f(x) \"x2\" cannot be calculated: the number \"2\" at position 2 has no operator "
         "before it. Write * or ^ there, for example x*2 or x^2."},
        // Too long to be repeated: the sign is put in parentheses where it stands.
        {"x-2" + std::string(120, ' ') + "*-1",
         "f(x) cannot be calculated: the operator \"*\" at position 124 lacks an operand. A sign "
         "right after an operator needs parentheses: write (-1) there."},
        {longSum, kTooLongMessage},  // too long: told once, as every other problem
    };
    for (const Case& c : cases) {
        calculate("X^3-3X-10", "3");
        ASSERT_TRUE(graphHasTangents());
        calculate(c.f.c_str(), "1");
        ASSERT_EQ(dialogs.messages.size(), 1u) << c.f;
        EXPECT_EQ(dialogs.messages[0].text, c.told);
        EXPECT_EQ(dialogs.messages[0].title, kAppTitle);
        // Cleared as by Clear, nothing drawn, inputs usable.
        EXPECT_EQ(table().rowCount(), 1) << c.f;
        EXPECT_EQ(table().cellText(1, 0), "") << c.f;
        EXPECT_FALSE(graphHasTangents()) << c.f;
        EXPECT_EQ(graph().outcomeText().toStdString(), "Not calculated: f(x) gives no value.");
        EXPECT_EQ(main->state().OffX, main->state().OrgX - 1);
        EXPECT_TRUE(panel().CmdCal().isEnabled());
    }
}

// A number beyond the double range in any box: one message, nothing computed,
// the graph cleared (about 0 when the initial value cannot be read).
TEST_F(FailureDisplayTest, ANumberBeyondTheDoubleRangeEndsTheCalculation) {
    struct Case {
        const char* x0;
        const char* loops;
        const char* tolerance;
        const char* box;
        const char* text;
        double centre;
    } cases[] = {
        {"1e999", "55", "0.000001", "initial value=", "1e999", 0},
        {"3", "55", "1e999", "error=", "1e999", 3},
        {"3", "-1e999", "0.000001", "Loops =", "-1e999", 3},
    };
    for (const Case& c : cases) {
        calculate("X^3-3X-10", "7");
        calculate("X^3-3X-10", c.x0, c.loops, c.tolerance);
        ASSERT_EQ(dialogs.messages.size(), 1u) << c.box;
        EXPECT_EQ(dialogs.messages[0].text, numberTextMessage(c.box, c.text));
        EXPECT_EQ(table().rowCount(), 1) << c.box;
        EXPECT_EQ(table().cellText(1, 0), "") << c.box;
        EXPECT_FALSE(graphHasTangents()) << c.box;
        EXPECT_EQ(main->state().OffX, main->state().OrgX - c.centre) << c.box;
        EXPECT_EQ(graph().outcomeText().toStdString(),
                  std::string("Not calculated: the number in \"") + c.box + "\" cannot be read.");
    }
    EXPECT_EQ(dialogs.messages[0].text,
              "The number in \"Loops =\" cannot be read: \"-1e999\" lies beyond the range of a "
              "double (about 1.8E+308).");
}

}  // namespace
}  // namespace quorel
