// What the user is shown of failures in whole calculations through the real
// windows: one box per kind of failure and phase, failure names instead of
// values that were not computed, a malformed f(x) told at once, numbers
// beyond the double range named by their box.
#include <gtest/gtest.h>

#include <QCheckBox>

#include "calculation_fixture.h"
#include "common/failure.h"
#include "engine/engine.h"
#include "solver/driver.h"
#include "solver/failure_messages.h"

namespace quorel {
namespace {

class FailureDisplayTest : public testing::CalculationTest {
  protected:
    void SetUp() override {
        CalculationTest::SetUp();
        // The graph's caption when each box is shown tells the phase.
        dialogs.onMessage = [this](const testing::ShownMessage& m) {
            if (m.title == kErrMsgTitle) overflowCaptions.push_back(graph().caption());
        };
    }
    int overflowBoxesWhile(const char* caption) {
        int n = 0;
        for (const std::string& c : overflowCaptions) n += c == caption;
        return n;
    }
    bool graphHasTangents() { return graphHas(qRgb(255, 0, 0)); }
    using Row = std::vector<std::string>;

    std::vector<std::string> overflowCaptions;
};

TEST_F(FailureDisplayTest, OneOverflowBoxWhileTheCurveIsDrawnAndOneForTheIteration) {
    struct Case {
        const char* f;
        const char* x0;
        int curveBoxes;
        int iterationBoxes;
        bool noRoot;
    } cases[] = {
        // Every curve sample overflows; so do f and f' at the initial value.
        {"exp(x)", "1000", 1, 1, false},
        {"0/0", "1", 1, 1, false},
        // The curve overflows right of 709.78; every marker leaves the
        // single-precision range.
        {"exp(x)", "700", 1, 1, true},
    };
    for (const Case& c : cases) {
        overflowCaptions.clear();
        calculate(c.f, c.x0);
        EXPECT_EQ(overflowBoxesWhile(kCaptionCurve), c.curveBoxes) << c.f << " " << c.x0;
        EXPECT_EQ(overflowBoxesWhile(kCaptionTangent), c.iterationBoxes) << c.f << " " << c.x0;
        EXPECT_EQ(countMessages(kNoRootMessage), c.noRoot ? 1 : 0) << c.f;
        EXPECT_EQ(static_cast<int>(dialogs.messages.size()),
                  c.curveBoxes + c.iterationBoxes + (c.noRoot ? 1 : 0));
        EXPECT_TRUE(panel().CmdCal().isEnabled());
    }
    // The failures still follow the rule: all 55 passes of exp(x) from 700 are listed.
    EXPECT_EQ(table().rowCount(), 56);
    EXPECT_EQ(cell(1, 0), 700);
}

TEST_F(FailureDisplayTest, AValueNotComputedShowsItsFailureInItsOwnCell) {
    // f(3) of 1/(x-3) divides by zero: the f(x) left by the previous
    // calculation (1.2309E-05) is not shown as if computed.
    calculate("X^3-3X-10", "3");
    calculate("1/(x-3)", "3");
    EXPECT_EQ(rowTexts(0), (Row{"0.", "3", "division", "1000000"}));
    // The table keeps the value the driver held beside its failure.
    const CellValue kept = table().cellValue(2, 0);
    EXPECT_EQ(kept.failure, kErrDivZero);
    EXPECT_NEAR(kept.value, 1.2309e-05, 1e-8);
    // The next x, made from that f(x), is not shown as an iterate; f and f'
    // at the x the calculation went on with are.
    EXPECT_EQ(table().cellText(1, 1), "division");
    EXPECT_EQ(table().cellValue(2, 1).failure, 0);
    EXPECT_EQ(table().cellValue(3, 1).failure, 0);

    restart();
    calculate("sqr(x)", "-4");
    ASSERT_EQ(table().rowCount(), 1);
    EXPECT_EQ(rowTexts(0), (Row{"0.", "-4", "domain", "domain"}));
}

TEST_F(FailureDisplayTest, AnFxThatCanGiveNoValueIsToldOnceAndEndsTheCalculation) {
    std::string longSum = "x";
    for (int i = 0; i < 300; ++i) longSum += "+x";
    struct Case {
        std::string f;
        std::string told;
    } cases[] = {
        {"x*-2",
         "f(x) \"x*-2\" cannot be calculated: the operator \"*\" at position 2 lacks an operand. A "
         "sign right after an operator needs parentheses: write x*(-2)."},
        {"sin",
         "f(x) \"sin\" cannot be calculated: the function \"sin\" at position 1 has no argument. "
         "Write its "
         "argument in parentheses, for example sin(x)."},
        {"",
         "f(x) is empty: there is nothing to calculate. Type a function of x, for example "
         "X^3-3X-10."},
        {"+",
         "f(x) \"+\" cannot be calculated: the sign \"+\" at position 1 has nothing to apply to. "
         "Write a "
         "number, x or an expression after it, for example -x."},
        {"1e999*x",
         "f(x) \"1e999*x\" cannot be calculated: the number \"1e999\" at position 1 lies beyond "
         "the range of a "
         "double (about 1.8E+308)."},
        {"((",
         "f(x) \"((\" cannot be calculated: the \"(\" at position 2 holds no expression. Every "
         "\"(\" needs an expression and its \")\", for example (x+1)*(x-2)."},
        {"x-pi",
         "f(x) \"x-pi\" cannot be calculated: \"pi\" at position 3 is not a number, x, an "
         "operator or a function. Write the number itself, for example 3.14159265358979."},
        {"x\tx$",
         "f(x) \"x\tx$\" cannot be calculated: \"$\" at position 4 is not a number, x, an "
         "operator or a function. f(x) is made of numbers, x, + - * / ^, parentheses and the "
         "functions sin, cos, tan, atn, exp, log and sqr."},
        {")",
         "f(x) \")\" cannot be calculated: the \")\" at position 1 has no expression before it. "
         "Every \")\" closes an expression opened by \"(\", for example (x+1)*(x-2)."},
        {"x2",
         "f(x) \"x2\" cannot be calculated: the number \"2\" at position 2 has no operator before "
         "it. Write * or ^ there, for example x*2 or x^2."},
        // Too long to be repeated: the sign is put in parentheses where it stands.
        {"x-2" + std::string(120, ' ') + "*-1",
         "f(x) cannot be calculated: the operator \"*\" at position 124 lacks an operand. A sign "
         "right after an operator needs parentheses: write (-1) there."},
        {longSum, kTooLongMessage},  // too long: the translation says so, once
    };
    for (const Case& c : cases) {
        calculate("X^3-3X-10", "3");
        ASSERT_TRUE(graphHasTangents());
        const std::string captionBefore = graph().caption();
        calculate(c.f.c_str(), "1");
        ASSERT_EQ(dialogs.messages.size(), 1u) << c.f;
        EXPECT_EQ(dialogs.messages[0].text, c.told);
        EXPECT_EQ(dialogs.messages[0].title, kAppTitle);
        // Cleared as by Clear, nothing drawn, inputs usable.
        EXPECT_EQ(table().rowCount(), 1) << c.f;
        EXPECT_EQ(table().cellText(1, 0), "") << c.f;
        EXPECT_FALSE(graphHasTangents()) << c.f;
        EXPECT_EQ(graph().caption(), captionBefore) << c.f;
        EXPECT_EQ(main->state().OffX, main->state().OrgX - 1);
        EXPECT_TRUE(panel().CmdCal().isEnabled());
    }

    // With an initial value that cannot be read Clear fails, and the table and
    // the graph are still cleared, about the x the calculation holds.
    calculate("X^3-3X-10", "3");
    calculate("sin", "1e999");
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].text, numberTextMessage("initial value=", "1e999"));
    EXPECT_EQ(dialogs.messages[1].text, cases[1].told);
    EXPECT_EQ(table().rowCount(), 1);
    EXPECT_EQ(table().cellText(1, 0), "");
    EXPECT_FALSE(graphHasTangents());
}

TEST_F(FailureDisplayTest, ANumberBeyondTheDoubleRangeIsNamedByItsBox) {
    // The initial value: told once though Clear and the calculation both read
    // it; x keeps its value (0 on a fresh program) and is not shown as read.
    calculate("X^3-3X-10", "1e999");
    ASSERT_GE(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              "The number in \"initial value=\" cannot be read: \"1e999\" lies beyond the range of "
              "a double (about 1.8E+308).");
    EXPECT_EQ(countMessages(dialogs.messages[0].text), 1);
    EXPECT_EQ(overflowMessages(), 0);
    EXPECT_EQ(rowTexts(0), (Row{"0.", "overflow", "-10", "-2.999999"}));
    EXPECT_GT(table().rowCount(), 2);

    // The tolerance holds nothing and counts as 0: the run goes on until f is 0.
    calculate("X^3-3X-10", "3", "55", "1e999");
    EXPECT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, numberTextMessage("error=", "1e999"));
    EXPECT_EQ(table().rowCount(), 6);

    // The loop limit counts as 0: no pass, the final row, no root.
    calculate("X^3-3X-10", "3", "-1e999");
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].text, numberTextMessage("Loops =", "-1e999"));
    EXPECT_EQ(dialogs.messages[1].text, kNoRootMessage);
    EXPECT_EQ(table().rowCount(), 1);

    // A failed Clear leaves the rows of the calculation before; the new rows
    // take the places of the rows with their numbers, in number order.
    calculate("X^3-3X-10", "3");
    const Row lastRow = rowTexts(4);
    calculate("x-1", "1e999");
    EXPECT_EQ(dialogs.messages.size(), 1u);
    ASSERT_EQ(table().rowCount(), 5);
    EXPECT_EQ(rowTexts(0), (Row{"0.", "overflow", "1.6128878647", "1"}));
    EXPECT_EQ(rowTexts(1), (Row{"1.", "1", "0", "1"}));
    EXPECT_EQ(rowTexts(4), lastRow);
}

}  // namespace
}  // namespace quorel
