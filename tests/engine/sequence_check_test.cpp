#include <gtest/gtest.h>

#include <string>

#include "common/failure.h"
#include "engine/engine.h"
#include "engine/operators.h"
#include "engine/sequence_check.h"
#include "tests/support/failure_number.h"
#include "tests/support/recording_dialogs.h"

namespace quorel {
namespace {

int failureAt(Engine& e, double x) {
    return testing::failureNumber([&] { e.Fx_Eval(x); });
}

// x+x+...+x with n + 1 terms: 2n + 1 tokens.
std::string longSum(int n) {
    std::string s = "x";
    for (int i = 0; i < n; ++i) s += "+x";
    return s;
}

TEST(SequenceCheck, NamesWhatFailsAtEveryXAndAgreesWithEvaluation) {
    struct Case {
        std::string text;
        SequenceProblem problem;
        int row;
    } cases[] = {
        {"X^3-3X-10", SequenceProblem::None, -1},
        {"2(x+1)", SequenceProblem::None, -1},
        {"0/0", SequenceProblem::None, -1},
        {"x*(-2)", SequenceProblem::None, -1},
        {"x*-2", SequenceProblem::MissingOperand, operatorRow("*")},
        {"/x", SequenceProblem::MissingOperand, operatorRow("/")},
        {"sqr()+1", SequenceProblem::MissingOperand, operatorRow("sqr")},
        {"x+sqr()", SequenceProblem::MissingOperand, operatorRow("+")},
        {"+", SequenceProblem::MissingOperand, operatorRow("0+")},
        {"-", SequenceProblem::MissingOperand, operatorRow("0-")},
        {"", SequenceProblem::Empty, -1},
        {"()", SequenceProblem::Empty, -1},
        {"1e999*x", SequenceProblem::BadNumber, -1},
        {longSum(300), SequenceProblem::CutShort, -1},
    };
    testing::RecordingDialogs dialogs;
    for (const Case& c : cases) {
        Engine e(dialogs);  // a fresh engine: no leftovers of an earlier f(x)
        e.Fx_Postfix(c.text);
        failureAt(e, 2.0);  // leaves the queue read partway or to its end
        const SequenceCheck check = checkSequence(e);
        EXPECT_EQ(check.problem, c.problem) << c.text;
        EXPECT_EQ(check.row, c.row) << c.text;
        // A problem of the sequence fails at every x, with 13 or, for a bad
        // number, 6, unless an earlier token failed first; a sound sequence
        // never finds an operand missing.
        const int expected = c.problem == SequenceProblem::BadNumber ? kErrOverflow : kErrMissing;
        int told = 0;
        for (double x : {-2.5, 0.0, 0.5, 3.0, 1000.0}) {
            const int got = failureAt(e, x);
            if (c.problem == SequenceProblem::None) {
                EXPECT_NE(got, kErrMissing) << c.text << " at " << x;
            } else {
                EXPECT_NE(got, 0) << c.text << " at " << x;
                told += got == expected;
            }
        }
        if (c.problem != SequenceProblem::None) {
            EXPECT_GE(told, 1) << c.text;
        }
    }

    // The operator named as the user typed it.
    EXPECT_EQ(tokenText(operatorRow("0-")), "-");
    EXPECT_EQ(tokenText(operatorRow("sqr")), "sqr");
    EXPECT_EQ(tokenText(-1), "");
}

}  // namespace
}  // namespace quorel
