#include <gtest/gtest.h>

#include <string>

#include "common/failure.h"
#include "engine/engine.h"
#include "engine/sequence_check.h"
#include "tests/support/recording_dialogs.h"

namespace quorel {
namespace {

int failureAt(Engine& e, double x) {
    try {
        e.Fx_Eval(x);
    } catch (const Failure& f) {
        return f.number();
    }
    return 0;
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
        TokenOp op;
    } cases[] = {
        {"X^3-3X-10", SequenceProblem::None, TokenOp::End},
        {"2(x+1)", SequenceProblem::None, TokenOp::End},
        {"log(x)", SequenceProblem::None, TokenOp::End},
        {"0/0", SequenceProblem::None, TokenOp::End},
        {"-x", SequenceProblem::None, TokenOp::End},
        {"x*(-2)", SequenceProblem::None, TokenOp::End},
        {"x*-2", SequenceProblem::MissingOperand, TokenOp::Mul},
        {"x+", SequenceProblem::MissingOperand, TokenOp::Add},
        {"/x", SequenceProblem::MissingOperand, TokenOp::Div},
        {"sin", SequenceProblem::MissingOperand, TokenOp::Sin},
        {"sqr()+1", SequenceProblem::MissingOperand, TokenOp::Sqr},
        {"x+sqr()", SequenceProblem::MissingOperand, TokenOp::Add},
        {"+", SequenceProblem::MissingOperand, TokenOp::UPlus},
        {"-", SequenceProblem::MissingOperand, TokenOp::UMinus},
        {"", SequenceProblem::Empty, TokenOp::End},
        {"((", SequenceProblem::Empty, TokenOp::End},
        {"()", SequenceProblem::Empty, TokenOp::End},
        {"1e999*x", SequenceProblem::BadNumber, TokenOp::BadNumber},
        {longSum(300), SequenceProblem::CutShort, TokenOp::End},
    };
    testing::RecordingDialogs dialogs;
    for (const Case& c : cases) {
        Engine e(dialogs);  // a fresh engine: no leftovers of an earlier f(x)
        e.Fx_Postfix(c.text);
        failureAt(e, 2.0);  // leaves the queue read partway or to its end
        const SequenceCheck check = checkSequence(e);
        EXPECT_EQ(check.problem, c.problem) << c.text;
        EXPECT_EQ(check.op, c.op) << c.text;
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
}

}  // namespace
}  // namespace quorel
