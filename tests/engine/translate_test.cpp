#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "common/failure.h"
#include "engine/engine.h"
#include "tests/engine/translation_cases.h"
#include "tests/support/failure_number.h"

namespace quorel {
namespace {

using testing::kTranslationCases;

// Every unread token of the queue, separated by blanks; the read state kept.
std::string queued(Engine& e) {
    std::string text;
    for (Value t = e.FxQueue.fetch(); e.FxQueue.succeeded; t = e.FxQueue.fetch()) {
        if (!text.empty()) text += ' ';
        text += valueText(t);
    }
    e.FxQueue.SetValue();
    return text;
}

TEST(Translation, QueuedTokens) {
    for (const auto& c : kTranslationCases) {
        Engine e;
        const Translation t = e.Fx_Postfix(c.text);
        EXPECT_EQ(queued(e), c.queue) << '"' << c.text << '"';
        std::string returned;
        for (const std::string& token : t.tokens) returned += (returned.empty() ? "" : " ") + token;
        EXPECT_EQ(returned, c.queue) << '"' << c.text << '"';
        EXPECT_EQ(e.OpStack.top(), c.operatorsLeft) << '"' << c.text << '"';
    }
}

// The outcome of f at x: the value bits, or the failure number.
std::pair<std::uint64_t, int> outcome(Engine& e, double x) {
    std::uint64_t bits = 0;
    const int failure =
        testing::failureNumber([&] { bits = std::bit_cast<std::uint64_t>(e.Fx_Eval(x)); });
    return {bits, failure};
}

TEST(Translation, TypedTextIsSolvedAsWrittenOrRefusedAtItsPiece) {
    // Spellings that must give the value bits of the plain form beside them.
    const std::pair<const char*, const char*> same[] = {
        {"X^3 - 3X - 10", "X^3-3X-10"},
        {"x\t-\n1", "x-1"},
        {"1 2x", "12*x"},
        {"x+1e-5", "x+0.00001"},
        {"2e-3*x", "0.002*x"},
        {"2.5D-3x", "0.0025*x"},
        {"1E+5X", "100000*x"},
        {".5x", "0.5*x"},
        {"(x+1)(x-1)", "(x+1)*(x-1)"},
        {"x(x+1)", "x*(x+1)"},
        {"(x+1)x", "(x+1)*x"},
        {"xx", "x*x"},
        {"xsinx", "x*sin(x)"},
        {"2exp(x)", "2*exp(x)"},
        {"-2(x+1)", "(-2)*(x+1)"},
        {"2x^2", "2*(x^2)"},
        {"2^3x", "(2^3)*x"},
        {"x/2x", "(x/2)*x"},
        {"s i n x", "sin(x)"},
    };
    Engine e;
    Engine reference;
    for (auto [text, plain] : same) {
        e.Fx_Postfix(text);
        reference.Fx_Postfix(plain);
        EXPECT_EQ(e.problem().kind, FxProblemKind::None) << text << " at " << e.problem().position;
        EXPECT_EQ(reference.problem().kind, FxProblemKind::None) << plain;
        for (double x : {-2.5, -1.0, 0.0, 0.3, 1.0, 3.0, 10.0}) {
            EXPECT_EQ(outcome(e, x), outcome(reference, x)) << text << " at " << x;
            EXPECT_NE(outcome(e, x).second, kErrMissing) << text << " at " << x;
        }
    }
    // Refused: the problem, its piece and position, the sign's bracketed form.
    using K = FxProblemKind;
    struct Refused {
        const char* text;
        K kind;
        const char* piece;
        int position;
        const char* bracketed;
    } refused[] = {
        {"x-pi", K::UnknownPiece, "pi", 3, ""},
        {"e*x", K::UnknownPiece, "e", 1, ""},
        {"ex+1", K::UnknownPiece, "ex", 1, ""},
        {"sinh(x)", K::UnknownPiece, "sinh", 1, ""},
        {"x\u00b2", K::UnknownPiece, "\u00b2", 2, ""},
        {"x  + 3.1.2", K::UnknownPiece, "3.1.2", 6, ""},
        {"1e999*x", K::BeyondRange, "1e999", 1, ""},
        {"x2", K::NumberAfter, "2", 2, ""},
        {"(x) 2", K::NumberAfter, "2", 5, ""},
        {"x*-2", K::OperatorOperand, "*", 2, "x*(-2)"},
        {"x^-x^2+1", K::OperatorOperand, "^", 2, "x^(-x^2)+1"},
        {"X+ -(x)*3-x*-1", K::OperatorOperand, "+", 2, "X+ (-(x))*3-x*-1"},
        {"x*-(x+1", K::OperatorOperand, "*", 2, "x*(-(x+1))"},
        {"x**2", K::OperatorOperand, "*", 2, ""},
        {"x^", K::OperatorOperand, "^", 2, ""},
        {"--x", K::SignOperand, "-", 1, "-(-x)"},
        {"+", K::SignOperand, "+", 1, ""},
        {"x*(-)", K::SignOperand, "-", 4, ""},
        {"sin()", K::FunctionArgument, "sin", 1, ""},
        {"SIN", K::FunctionArgument, "SIN", 1, ""},
        {"sin2", K::FunctionArgument, "sin", 1, ""},
        {"x+cos-x", K::FunctionArgument, "cos", 3, ""},
        {"tansin(x)", K::FunctionArgument, "tan", 1, ""},
        {"x*()", K::EmptyGroup, "(", 3, ""},
        {"((", K::EmptyGroup, "(", 2, ""},
        {")x", K::CloseFirst, ")", 1, ""},
        {"", K::Empty, "", 0, ""},
        {" \t", K::Empty, "", 0, ""},
    };
    for (const Refused& c : refused) {
        const FxProblem p = e.Fx_Postfix(c.text).problem;
        const std::string trace = std::string("\"") + c.text + '"';
        EXPECT_EQ(p.kind, c.kind) << trace;
        EXPECT_EQ(p.piece, c.piece) << trace;
        EXPECT_EQ(p.position, c.position) << trace;
        EXPECT_EQ(p.bracketed, c.bracketed) << trace;
        const int failure = c.kind == K::BeyondRange ? kErrOverflow : kErrMissing;
        for (double x : {-1.0, 0.5, 2.0}) EXPECT_EQ(outcome(e, x).second, failure) << trace;
    }
}

TEST(Translation, EachTranslationYieldsOnlyItsOwnTokens) {
    // Two leftover "(" are removed by the next two translations, one each.
    Engine e;
    e.Fx_Postfix("((((x+1)");
    EXPECT_EQ(e.OpStack.testText(), ",(,(,");
    e.Fx_Postfix("(x*2");
    EXPECT_EQ(queued(e), "X 2 *");
    EXPECT_EQ(e.OpStack.testText(), ",(,(,");
    e.Fx_Postfix("x");
    EXPECT_EQ(e.OpStack.testText(), ",(,");
    e.Fx_Postfix("x");
    EXPECT_EQ(e.OpStack.top(), 0);

    // Tokens left unread by a failed evaluation are dropped.
    e.Fx_Postfix("x*-2+x+x+x");
    EXPECT_THROW(e.Fx_Eval(1.0), Failure);
    EXPECT_TRUE(e.FxQueue.hasItems());
    e.Fx_Postfix("x+1");
    EXPECT_EQ(queued(e), "X 1 +");
}

// Each text in one engine and in a fresh one: the same queues and problems,
// and only "(" left on the shared stack.
void expectSameAsFresh(const std::vector<std::string>& texts) {
    Engine shared;
    for (const std::string& text : texts) {
        const FxProblemKind kind = shared.Fx_Postfix(text).problem.kind;
        Engine fresh;
        const std::string trace = '"' + text.substr(0, 40) + '"';
        EXPECT_EQ(kind, fresh.Fx_Postfix(text).problem.kind) << trace;
        EXPECT_EQ(queued(shared), queued(fresh)) << trace;
        std::string onlyOpens = ",";
        for (int i = 0; i < shared.OpStack.top(); ++i) onlyOpens += "(,";
        EXPECT_EQ(shared.OpStack.testText(), onlyOpens) << trace;
    }
}

TEST(Translation, AnEarlierTranslationNeverChangesALaterOne) {
    Engine e;
    // 500 "(" are taken, one is closed at the end: 499 stay.
    e.Fx_Postfix(std::string(600, '('));
    EXPECT_EQ(e.OpStack.top(), 499);

    expectSameAsFresh({std::string(600, '('), "X^3-3X-10", "x"});
    expectSameAsFresh({"(((", "x)*((x+1", "sin(x))^2", "2*(x", "x)-1"});
    expectSameAsFresh({std::string(499, '(') + "x", std::string(499, '(') + "x", "-(x*(x+(x"});

    const char* pieces[] = {"(", "(", ")", "x", "+", "-", "*", "^", "2", "sin", " ", "(((((((((("};
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> piece(0, std::size(pieces) - 1);
    std::uniform_int_distribution<int> length(0, 14);
    for (int sequence = 0; sequence < 300; ++sequence) {
        std::vector<std::string> texts;
        for (int t = 0; t < 6; ++t) {
            std::string text;
            for (int n = length(random); n > 0; --n) text += pieces[piece(random)];
            if (random() % 8 == 0) text = std::string(200 + random() % 200, '(') + text;
            texts.push_back(text);
        }
        expectSameAsFresh(texts);
    }
}

TEST(Translation, TooLongTextIsAProblemAndNeverEvaluates) {
    std::string fits = "-x";  // X 0- and 249 times X +: 500 tokens
    std::string fitsQueue = "X 0-";
    for (int i = 0; i < 249; ++i) {
        fits += "+x";
        fitsQueue += " X +";
    }

    Engine e;
    EXPECT_EQ(e.Fx_Postfix(fits).problem.kind, FxProblemKind::None);
    EXPECT_EQ(queued(e), fitsQueue);
    EXPECT_DOUBLE_EQ(e.Fx_Eval(0.5), 248 * 0.5);

    // The 501st token is the "x" at 502; the 501st pending "(" the last one.
    // Too long wins over the unknown piece after the cut.
    const struct {
        std::string text;
        int position;
    } tooLong[] = {{fits + "+x+x+pi", 502}, {std::string(501, '(') + "x", 501}};
    for (const auto& c : tooLong) {
        const FxProblem p = e.Fx_Postfix(c.text).problem;
        EXPECT_EQ(p.kind, FxProblemKind::TooLong) << c.position;
        EXPECT_EQ(p.position, c.position);
        for (double x : {0.0, 1.0, 1.0})
            EXPECT_EQ(testing::failureNumber([&] { e.Fx_Eval(x); }), kErrMissing);
    }

    // The 500 "(" still on the stack do not cut the next, short text.
    EXPECT_EQ(e.Fx_Postfix("x^2-2").problem.kind, FxProblemKind::None);
    EXPECT_DOUBLE_EQ(e.Fx_Eval(3.0), 7.0);
}

}  // namespace
}  // namespace quorel
