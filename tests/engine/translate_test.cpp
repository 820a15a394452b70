#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "common/failure.h"
#include "engine/engine.h"
#include "tests/engine/translation_cases.h"
#include "tests/support/failure_number.h"
#include "tests/support/recording_dialogs.h"

namespace quorel {
namespace {

using testing::kTranslationCases;

// Every unread token of the queue, separated by blanks ("_" for a blank
// inside a token); then the read state is restored.
std::string queued(Engine& e) {
    std::string text;
    for (Value t = e.FxQueue.fetch(); e.FxQueue.succeeded; t = e.FxQueue.fetch()) {
        std::string token = valueText(t);
        std::replace(token.begin(), token.end(), ' ', '_');
        text += (text.empty() ? "" : " ") + token;
    }
    e.FxQueue.SetValue();
    return text;
}

TEST(Translation, QueuedTokens) {
    for (const auto& c : kTranslationCases) {
        testing::RecordingDialogs dialogs;
        Engine e(dialogs);
        e.Fx_Postfix(c.text);
        EXPECT_EQ(queued(e), c.queue) << '"' << c.text << '"';
        EXPECT_EQ(e.OpStack.top(), c.operatorsLeft) << '"' << c.text << '"';
        EXPECT_TRUE(dialogs.messages.empty());
    }
}

TEST(Translation, EachTranslationYieldsOnlyItsOwnTokens) {
    // Two leftover "(" are removed by the next two translations, one each.
    testing::RecordingDialogs dialogs;
    Engine e(dialogs);
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

// Translates each text in one engine and in a fresh one: the queues, the cut
// flags and the messages must be the same, and only "(" may stay on the
// shared engine's stack.
void expectSameAsFresh(const std::vector<std::string>& texts) {
    testing::RecordingDialogs dialogs;
    Engine shared(dialogs);
    for (const std::string& text : texts) {
        dialogs.messages.clear();
        shared.Fx_Postfix(text);
        testing::RecordingDialogs freshDialogs;
        Engine fresh(freshDialogs);
        fresh.Fx_Postfix(text);
        const std::string trace = '"' + text.substr(0, 40) + '"';
        EXPECT_EQ(queued(shared), queued(fresh)) << trace;
        EXPECT_EQ(shared.sequenceCut(), fresh.sequenceCut()) << trace;
        EXPECT_EQ(dialogs.messages.size(), freshDialogs.messages.size()) << trace;
        std::string onlyOpens = ",";
        for (int i = 0; i < shared.OpStack.top(); ++i) onlyOpens += "(,";
        EXPECT_EQ(shared.OpStack.testText(), onlyOpens) << trace;
    }
}

TEST(Translation, AnEarlierTranslationNeverChangesALaterOne) {
    testing::RecordingDialogs dialogs;
    Engine e(dialogs);
    // 500 "(" are taken, one is closed at the end: 499 stay.
    e.Fx_Postfix(std::string(600, '('));
    EXPECT_EQ(e.OpStack.top(), 499);

    expectSameAsFresh({std::string(600, '('), "X^3-3X-10", "x"});
    expectSameAsFresh({"(((", "x)*((x+1", "sin(x))^2", "2*(x", "x)-1"});
    expectSameAsFresh({std::string(499, '(') + "x", std::string(499, '(') + "x", "-(x*(x+(x"});

    // Random texts of parentheses, operators and operands, in sequences.
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

TEST(Translation, TooLongTextIsReportedOnceAndNeverEvaluates) {
    std::string fits = "-x";  // X 0- and 249 times X +: 500 tokens
    std::string fitsQueue = "X 0-";
    for (int i = 0; i < 249; ++i) {
        fits += "+x";
        fitsQueue += " X +";
    }

    testing::RecordingDialogs dialogs;
    Engine e(dialogs);
    e.Fx_Postfix(fits);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_FALSE(e.sequenceCut());
    EXPECT_EQ(queued(e), fitsQueue);
    EXPECT_DOUBLE_EQ(e.Fx_Eval(0.5), 248 * 0.5);

    for (const std::string& text : {fits + "+x+x+x", std::string(501, '(') + "x"}) {
        dialogs.messages.clear();
        e.Fx_Postfix(text);
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].text, kTooLongMessage);
        EXPECT_EQ(dialogs.messages[0].title, kAppTitle);
        EXPECT_TRUE(e.sequenceCut());
        for (double x : {0.0, 1.0, 1.0})
            EXPECT_EQ(testing::failureNumber([&] { e.Fx_Eval(x); }), kErrMissing);
    }

    // The 500 "(" still on the stack do not cut the next, short text.
    dialogs.messages.clear();
    e.Fx_Postfix("x^2-2");
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_DOUBLE_EQ(e.Fx_Eval(3.0), 7.0);
}

}  // namespace
}  // namespace quorel
