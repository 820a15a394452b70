#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "common/failure.h"
#include "engine/engine.h"
#include "tests/support/recording_dialogs.h"

namespace quorel {
namespace {

// Every unread token of the queue, then the read state is restored.
std::vector<std::string> queuedTokens(Engine& e) {
    std::vector<std::string> tokens;
    for (;;) {
        const Value t = e.FxQueue.fetch();
        if (!e.FxQueue.succeeded) break;
        tokens.push_back(valueText(t));
    }
    e.FxQueue.SetValue();
    return tokens;
}

// "X _1 +" -> {"X", " 1", "+"}: "_" stands for a blank inside a token.
std::vector<std::string> split(const std::string& text) {
    std::vector<std::string> tokens;
    std::istringstream in(text);
    for (std::string t; in >> t;) {
        for (char& c : t) {
            if (c == '_') c = ' ';
        }
        tokens.push_back(t);
    }
    return tokens;
}

TEST(Translation, QueuedTokens) {
    struct Case {
        const char* text;
        const char* queue;
        int operatorsLeft;
    } cases[] = {
        {"3X^2-2X+1", "3 X 2 ^ * 2 X * - 1 +", 0},
        {"sin(3)*X^2-2*cos(X+8)", "3 sin X 2 ^ * 2 X 8 + cos * -", 0},
        {"3X^3-2X^2-8", "3 X 3 ^ * 2 X 2 ^ * - 8 -", 0},
        {"X^3-3X-10", "X 3 ^ 3 X * - 10 -", 0},
        {"(3x^2)*exp(2x-1)", "3 X 2 ^ * 2 X * 1 - exp *", 0},
        {"sin(x)-cos(x)+0.2x", "X sin X cos - 0.2 X * +", 0},
        {"log(x^9-x^7+x^5)/log(9)-x-8", "X 9 ^ X 7 ^ - X 5 ^ + log 9 log / X - 8 -", 0},
        {"-x^2", "X 2 ^ 0-", 0},
        {"-2*x", "2 0- X *", 0},
        {"-(x-1)", "X 1 - 0-", 0},
        {"2^3^2", "2 3 ^ 2 ^", 0},
        {"x*-2", "X * 2 -", 0},
        {"2(x+1)", "2 X 1 +", 0},
        {"SIN(X)", "X sin", 0},
        {"Exp(x)", "X exp", 0},
        {"expx", "X exp", 0},
        {"ex+1", "e X * 1 +", 0},
        {"x+1)", "X 1 +", 0},
        {"((x+1)", "X 1 +", 0},
        {"(((x+1)", "X 1 +", 1},
        {"x+ 1", "X _1 +", 0},
        {"x +1", "X _ 1 +", 0},
        {"", "", 0},
        {"3sin(x)", "3sin X", 0},
        {"sin+x", "sin X +", 0},
        {"x2", "X 2", 0},
        {"(x)(x)", "X X", 0},
        {"1E5*X", "1e5 X *", 0},
        {"+x", "X 0+", 0},
        {"x-(-x)", "X X 0- -", 0},
        {"atn(sqr(x))/tan(x)", "X sqr atn X tan /", 0},
        // Operators waiting below an unclosed "(" still apply to it.
        {"x*(x-1", "X X 1 - *", 0},
        {"sin(x", "X sin", 0},
        {"2*((x+1", "2 X 1 + *", 1},
        {"x*(x+(x-1", "X X X 1 - + *", 1},
    };
    for (const auto& c : cases) {
        testing::RecordingDialogs dialogs;
        Engine e(dialogs);
        e.Fx_Postfix(c.text);
        EXPECT_EQ(queuedTokens(e), split(c.queue)) << '"' << c.text << '"';
        EXPECT_EQ(e.OpStack.top(), c.operatorsLeft) << '"' << c.text << '"';
        EXPECT_TRUE(dialogs.messages.empty());
    }
}

TEST(Translation, OperatorLevelsCompareWholeTokensCaseSensitively) {
    struct Case {
        Value token;
        int level;
    } cases[] = {
        {std::string("^"), 5},
        {std::string("0-"), 3},
        {std::string("atn"), 6},
        {std::string(")"), 9},
        {std::string("SIN"), -9},
        {std::string("sin "), -9},
        {std::string("0"), -9},
        {std::string("X"), -9},
        {Value{}, -9},
        {2.0, -9},
    };
    for (const auto& c : cases) EXPECT_EQ(Engine::Op_Level(c.token), c.level) << valueText(c.token);
}

TEST(Translation, EachTranslationYieldsOnlyItsOwnTokens) {
    const char* before[] = {"x", "5", "(x+1)", "(((x+1)"};
    for (const char* text : before) {
        testing::RecordingDialogs dialogs;
        Engine e(dialogs);
        e.Fx_Postfix(text);
        e.Fx_Postfix("x^2-2");
        EXPECT_EQ(queuedTokens(e), split("X 2 ^ 2 -")) << text;
        EXPECT_EQ(e.OpStack.top(), 0) << text;
    }

    // Two leftover "(" are removed by the next two translations, one each.
    testing::RecordingDialogs dialogs;
    Engine e(dialogs);
    e.Fx_Postfix("((((x+1)");
    EXPECT_EQ(e.OpStack.testText(), ",(,(,");
    e.Fx_Postfix("(x*2");
    EXPECT_EQ(queuedTokens(e), split("X 2 *"));
    EXPECT_EQ(e.OpStack.testText(), ",(,(,");
    e.Fx_Postfix("x");
    EXPECT_EQ(e.OpStack.testText(), ",(,");
    e.Fx_Postfix("x");
    EXPECT_EQ(e.OpStack.top(), 0);

    // Nothing of an unclosed group reaches the next translation.
    e.Fx_Postfix("sin(x*(x");
    EXPECT_EQ(e.Fx_Eval(2.0), std::sin(4.0));
    e.Fx_Postfix("x");
    EXPECT_EQ(queuedTokens(e), split("X"));
    EXPECT_EQ(e.Fx_Eval(3.0), 3.0);

    // Tokens left unread by a failed evaluation are dropped.
    e.Fx_Postfix("x*-2+x+x+x");
    EXPECT_THROW(e.Fx_Eval(1.0), Failure);
    EXPECT_TRUE(e.FxQueue.hasItems());
    e.Fx_Postfix("x+1");
    EXPECT_EQ(queuedTokens(e), split("X 1 +"));
}

TEST(Translation, TooLongTextIsReportedOnceAndNeverEvaluates) {
    std::string fits = "-x";  // X 0- and 249 times X +: 500 tokens
    for (int i = 0; i < 249; ++i) fits += "+x";
    std::string tooManyTokens = fits + "+x+x+x";
    std::string tooManyOperators(501, '(');
    tooManyOperators += "x";

    testing::RecordingDialogs dialogs;
    Engine e(dialogs);
    e.Fx_Postfix(fits);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_FALSE(e.sequenceCut());
    EXPECT_EQ(queuedTokens(e).size(), 500u);
    EXPECT_DOUBLE_EQ(e.Fx_Eval(0.5), 248 * 0.5);

    for (const std::string& text : {tooManyTokens, tooManyOperators}) {
        dialogs.messages.clear();
        e.Fx_Postfix(text);
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].text, kTooLongMessage);
        EXPECT_EQ(dialogs.messages[0].title, kAppTitle);
        EXPECT_TRUE(e.sequenceCut());
        for (double x : {0.0, 1.0, 1.0}) {
            try {
                e.Fx_Eval(x);
                ADD_FAILURE() << "cut sequence evaluated";
            } catch (const Failure& f) {
                EXPECT_EQ(f.number(), kErrMissing);
            }
        }
    }

    // The 500 "(" still on the stack do not cut the next, short text.
    dialogs.messages.clear();
    e.Fx_Postfix("x^2-2");
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_DOUBLE_EQ(e.Fx_Eval(3.0), 7.0);
}

}  // namespace
}  // namespace quorel
