#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "common/failure.h"
#include "engine/engine.h"
#include "engine/err_msg.h"
#include "tests/support/failure_number.h"
#include "tests/support/recording_dialogs.h"

namespace quorel {
namespace {

using testing::failureNumber;

TEST(Evaluation, MatchesClosedForms) {
    struct Case {
        const char* text;
        std::function<double(double)> f;
        std::vector<double> xs;
    } cases[] = {
        {"3X^2-2X+1", [](double x) { return 3 * x * x - 2 * x + 1; }, {2, -1.5, 10.25}},
        {"sin(3)*X^2-2*cos(X+8)",
         [](double x) { return std::sin(3.0) * x * x - 2 * std::cos(x + 8); },
         {2, -0.7, 40}},
        {"(3x^2)*exp(2x-1)", [](double x) { return 3 * x * x * std::exp(2 * x - 1); }, {1, 0.3}},
        {"log(x^9-x^7+x^5)/log(9)-x-8",
         [](double x) {
             return std::log(std::pow(x, 9) - std::pow(x, 7) + std::pow(x, 5)) / std::log(9.0) - x -
                    8;
         },
         {0.5, 3.7}},
        {"x^0", [](double) { return 1.0; }, {0, -7}},
        {"x +1", [](double x) { return x + 1; }, {9}},
        {"3 4x", [](double x) { return 34 * x; }, {2}},
        {"1e3x+1D2", [](double x) { return 1000 * x + 100; }, {0.5}},
    };
    // One engine, three rounds: positions advance and the ring wraps from 499 to 0.
    Engine e;
    for (int round = 0; round < 3; ++round) {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.text);
            e.Fx_Postfix(c.text);
            for (double x : c.xs) {
                const double expected = c.f(x);
                const double got = e.Fx_Eval(x);
                EXPECT_NEAR(got, expected, 1e-12 * std::max(1.0, std::fabs(expected)))
                    << c.text << " at " << x;
                EXPECT_EQ(e.Fx_Eval(x), got) << c.text << " at " << x;
            }
        }
    }
}

TEST(Evaluation, LeavesTheQueueReadToItsEndOrToTheFailingToken) {
    Engine e;
    e.Fx_Postfix("1/x+2");  // 1 X / 2 +
    e.FxQueue.succeeded = true;
    EXPECT_EQ(e.Fx_Eval(4.0), 2.25);
    EXPECT_FALSE(e.FxQueue.hasItems());
    EXPECT_FALSE(e.FxQueue.succeeded);  // the last fetch found nothing
    EXPECT_EQ(e.FxQueue.front(), e.FxQueue.rear());

    EXPECT_EQ(failureNumber([&] { e.Fx_Eval(0.0); }), kErrDivZero);
    EXPECT_EQ(e.FxQueue.front(), 3);
    EXPECT_TRUE(e.FxQueue.succeeded);
    EXPECT_EQ(valueText(e.FxQueue.nowValue()), "2");

    EXPECT_EQ(e.Fx_Eval(-1.0), 1.0);
    e.FxQueue.SetValue();
    EXPECT_EQ(valueText(e.FxQueue.fetch()), "1");
}

TEST(Evaluation, TokensAddedToTheQueueDirectly) {
    Engine e;
    auto add = [&](std::initializer_list<const char*> tokens, bool hold) {
        for (const char* t : tokens) e.FxQueue.add(std::string(t));
        if (hold) e.FxQueue.HoldValue();
    };
    e.FxQueue.add(2.0);
    add({"X", "^", " 1", "SIN", "-"}, true);
    EXPECT_NEAR(e.Fx_Eval(3.0), 8.0 - std::sin(1.0), 1e-15);

    // Tokens added after a translation count once HoldValue takes them in.
    for (bool hold : {false, true}) {
        e.Fx_Postfix("x+1");
        add({"2", "*"}, hold);
        EXPECT_EQ(e.Fx_Eval(3.0), hold ? 8.0 : 4.0);
    }
    // A refused translation fails; tokens added after it are a sequence of their own.
    e.Fx_Postfix("x-pi");
    EXPECT_EQ(failureNumber([&] { e.Fx_Eval(3.0); }), kErrMissing);
    add({"2", "*"}, true);
    EXPECT_EQ(e.Fx_Eval(3.0), 6.0);

    // An empty token ends the evaluation; what follows it stays unread.
    e.Fx_Postfix("x");
    add({"", "5"}, true);
    EXPECT_EQ(e.Fx_Eval(7.0), 7.0);
    EXPECT_TRUE(e.FxQueue.succeeded);
    EXPECT_EQ(valueText(e.FxQueue.nowValue()), "5");
    e.Fx_Postfix("");
    add({"", "5"}, true);
    EXPECT_EQ(failureNumber([&] { e.Fx_Eval(7.0); }), kErrMissing);
}

TEST(Slope, CentralDifferenceWithDecimalStepAndItsFailures) {
    const double big = std::numeric_limits<double>::max();
    struct Case {
        const char* text;
        double x;
        double slope;
        double tolerance;
        int failure = 0;
    } cases[] = {
        {"x^3", 2, 12.000001, 1e-8},      // h = 0.001
        {"x^3", 1000, 3000000.01, 1e-4},  // h = 0.1, not 1
        {"x^3", 0, 1e-6, 1e-12},          // h = 0.001 at 0
        {"X^3-3X-10", std::numeric_limits<double>::denorm_min(), -2.999999, 1e-9},
        {"3", 0, 0, 0},
        {"sqr(x)", 0, 0, 0, kErrDomain},        // f(-0.001)
        {"1/(x-1.001)", 1, 0, 0, kErrDivZero},  // f(1.001)
        {"1", big, 0, 0, kErrOverflow},         // x + h
        {"1", -big, 0, 0, kErrOverflow},        // x - h
        {"x^3", 1e300, 0, 0, kErrOverflow},
        {"1.5e308*x/sqr(x^2)", 0, 0, 0, kErrOverflow},  // f(h) - f(-h)
        {"", 1, 0, 0, kErrMissing},
    };
    Engine e;
    for (const auto& c : cases) {
        e.Fx_Postfix(c.text);
        double slope = 0.0;
        EXPECT_EQ(failureNumber([&] { slope = e.Fx_Diff(c.x); }), c.failure)
            << c.text << " at " << c.x;
        EXPECT_NEAR(slope, c.slope, c.tolerance) << c.text << " at " << c.x;
    }
    e.Fx_Postfix("x^3");
    EXPECT_EQ(e.Fx_Diff(-2.0), e.Fx_Diff(2.0));

    // For f = x the slope is ((x + h) - (x - h)) / 2h, over many decades and their ends.
    e.Fx_Postfix("x");
    for (double x : {500.0, 999.9999999, 1000.000001, 9.99999999999, 0.5, -0.01, 0.0999999, 1e6,
                     1e-300, 3e-320, -500.5, 99.99999, 1e300, 0.001000001}) {
        double h = std::pow(10.0, std::floor(std::log(std::fabs(x)) / std::log(10.0)) - 3.0);
        if (h == 0.0) h = 0.001;
        EXPECT_EQ(e.Fx_Diff(x), ((x + h) - (x - h)) / (2.0 * h)) << x;
    }
}

TEST(ErrMsg, OnlyOverflowShowsOneBox) {
    for (int number : {kErrDomain, kErrOverflow, kErrDivZero, kErrMissing}) {
        testing::RecordingDialogs dialogs;
        Err_Msg(number, dialogs, "\r\n");
        if (number != kErrOverflow) {
            EXPECT_TRUE(dialogs.messages.empty()) << number;
            continue;
        }
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].title, "Error message!");
        EXPECT_EQ(dialogs.messages[0].text,
                  std::string(failureDescription(kErrOverflow)) +
                      "\r\ntangent slope near horizontal( tangent slope is <zero> )\u3002");
    }
}

}  // namespace
}  // namespace quorel
