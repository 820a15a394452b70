// Evaluation with fused steps against evaluation one step per token, and the
// fused forms against their closed forms.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "common/failure.h"
#include "engine/engine.h"
#include "engine/power.h"
#include "tests/engine/translation_cases.h"
#include "tests/support/failure_number.h"
#include "tests/support/recording_dialogs.h"

namespace quorel {
namespace {

using testing::failureNumber;

// A call's value bits or failure number, and the queue's read state after it.
template <typename F>
auto outcomeOf(Engine& e, F f) {
    std::uint64_t bits = 0;
    const int failure = failureNumber([&] { bits = std::bit_cast<std::uint64_t>(f()); });
    return std::tuple(bits, failure, e.FxQueue.front(), e.FxQueue.hasItems(), e.FxQueue.succeeded);
}

// f(x) as a text typed by the user, or (after a leading byte 1) tokens added
// to the queue directly, one per line, as the fuzz seeds are written.
void enter(Engine& e, const std::string& input) {
    if (input.empty() || input[0] != '\x01') {
        e.Fx_Postfix(input);
        return;
    }
    std::istringstream lines(input.substr(1));
    for (std::string token; std::getline(lines, token);) e.FxQueue.add(token);
    e.FxQueue.HoldValue();
}

TEST(Fusion, SameValueBitsFailuresAndReadStateAsOneStepPerToken) {
    std::vector<std::string> inputs;
    for (const auto& c : testing::kTranslationCases) inputs.emplace_back(c.text);
    for (const auto& entry : std::filesystem::directory_iterator(QUOREL_FUZZ_SEEDS)) {
        std::ifstream in(entry.path(), std::ios::binary);
        inputs.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    ASSERT_GE(inputs.size(), std::size(testing::kTranslationCases) + 30);
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double big = std::numeric_limits<double>::max();
    const double xs[] = {0.0,   1.0,    -1.0,  2.0,   -2.5, 0.5,  3.0, -8.0,   1e-3, 1e-160,
                         1e300, -1e300, 710.0, 1.5e8, inf,  -inf, nan, 5e-324, big};

    // Both engines see the same history, so their queues advance alike.
    testing::RecordingDialogs dialogs;
    Engine fused(dialogs);
    Engine stepwise(dialogs);
    stepwise.setFusion(false);
    ASSERT_TRUE(fused.fusion());
    for (const std::string& input : inputs) {
        enter(fused, input);
        enter(stepwise, input);
        for (double x : xs) {
            EXPECT_EQ(outcomeOf(fused, [&] { return fused.Fx_Eval(x); }),
                      outcomeOf(stepwise, [&] { return stepwise.Fx_Eval(x); }))
                << '"' << input << "\" at " << x;
            EXPECT_EQ(outcomeOf(fused, [&] { return fused.Fx_Diff(x); }),
                      outcomeOf(stepwise, [&] { return stepwise.Fx_Diff(x); }))
                << "slope of \"" << input << "\" at " << x;
        }
    }
}

// The value or failure of a text at x, alike with fusion on and off.
struct Result {
    double value = 0.0;
    int failure = 0;
};

Result evaluate(const std::string& text, double x) {
    Result r[2];
    for (int i = 0; i < 2; ++i) {
        testing::RecordingDialogs dialogs;
        Engine e(dialogs);
        e.setFusion(i == 0);
        e.Fx_Postfix(text);
        r[i].failure = failureNumber([&] { r[i].value = e.Fx_Eval(x); });
    }
    EXPECT_EQ(std::bit_cast<std::uint64_t>(r[0].value), std::bit_cast<std::uint64_t>(r[1].value))
        << text << " at " << x;
    EXPECT_EQ(r[0].failure, r[1].failure) << text << " at " << x;
    return r[0];
}

// A number as f(x) text: no "+" in the exponent (it would end the number), a
// negative one in parentheses.
std::string literal(double v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", std::fabs(v));
    std::string t;
    for (const char* c = buf; *c != 0; ++c) {
        if (*c != '+') t += *c;
    }
    return v < 0 ? "(-" + t + ")" : t;
}

// Each operator and function with operands from a number, x and a group (x+0),
// in every combination: each is a different fused step.
TEST(Fusion, EveryFormOfEveryOperatorAndFunctionMatchesItsClosedForm) {
    struct Pair {
        double a, b;
        int failure = 0;  // 0: the closed form's value
    };
    struct Operator {
        std::string name;  // a binary operator, or a function of a
        double (*closed)(double, double);
        std::vector<Pair> pairs;
    } operators[] = {
        {"+", [](double a, double b) { return a + b; }, {{-7, 3}, {1e308, 1e308, kErrOverflow}}},
        {"-",
         [](double a, double b) { return a - b; },
         {{2, 9}, {2.5, 2.5}, {-1e308, 1e308, kErrOverflow}}},
        {"*", [](double a, double b) { return a * b; }, {{0.1, 3}, {1e200, 1e200, kErrOverflow}}},
        {"/",
         [](double a, double b) { return a / b; },
         {{1, 3}, {5, 0, kErrDivZero}, {0, 0, kErrOverflow}, {1e308, 0.1, kErrOverflow}}},
        {"^",
         [](double a, double b) { return power(a, b); },
         {{3, 3}, {-2, 5}, {1.1, 16}, {2.5, 0.5}, {2, -1}}},
        {"^",
         [](double a, double b) { return power(a, b); },
         {{-0.5, -0.5, kErrDomain},
          {-8, 0.5, kErrDomain},
          {0, -1, kErrDivZero},
          {10, 400, kErrOverflow},
          {1e200, 3, kErrOverflow}}},
        {"sin", [](double a, double) { return std::sin(a); }, {{0.5, 0}, {100, 0}}},
        {"cos", [](double a, double) { return std::cos(a); }, {{-3, 0}, {100, 0}}},
        {"tan", [](double a, double) { return std::tan(a); }, {{0.5, 0}, {-3, 0}}},
        {"atn", [](double a, double) { return std::atan(a); }, {{-3, 0}, {1e10, 0}}},
        {"exp",
         [](double a, double) { return std::exp(a); },
         {{-3, 0}, {700, 0}, {710, 0, kErrOverflow}}},
        {"sqr",
         [](double a, double) { return std::sqrt(a); },
         {{3, 0}, {0, 0}, {-1, 0, kErrDomain}}},
        {"log",
         [](double a, double) { return std::log(a); },
         {{0.5, 0}, {0, 0, kErrDomain}, {-1, 0, kErrDomain}}},
    };
    enum Source { Number, X, Group };
    auto operand = [](Source s, double v) {
        return s == Number ? literal(v) : s == X ? std::string("x") : std::string("(x+0)");
    };
    int checked = 0;
    for (const Operator& op : operators) {
        const bool function = op.name.size() > 1;
        for (Source left : {Number, X, Group}) {
            for (Source right : {Number, X, Group}) {
                if (function ? right != Number : left == Number && right == Number) continue;
                for (const Pair& p : op.pairs) {
                    // x stands for every operand that is not a number.
                    if (left != Number && right != Number && p.a != p.b) continue;
                    const double x = left != Number || function ? p.a : p.b;
                    const std::string text =
                        function
                            ? op.name + "(" + operand(left, p.a) + (left == Number ? ")+x*0" : ")")
                            : operand(left, p.a) + op.name + operand(right, p.b);
                    const Result r = evaluate(text, x);
                    EXPECT_EQ(r.failure, p.failure) << text << " at " << x;
                    if (p.failure == 0) {
                        EXPECT_EQ(r.value, op.closed(p.a, p.b)) << text << " at " << x;
                    }
                    ++checked;
                }
            }
        }
    }
    EXPECT_GT(checked, 100);
}

// A fused step keeps its constant on its side of a group; failures inside and
// after a group come at the group's operator.
TEST(Fusion, ConstantsOnEitherSideOfAGroupAndFailuresAroundIt) {
    struct Case {
        const char* text;
        double x;
        double value;
    } cases[] = {
        {"2-x^2", 3, -7},       {"12/x^2", 2, 3},    {"2^x^2", 3, 64},     {"3^(x+1)", 1, 9},
        {"10-sin(x)*4", 0, 10}, {"x-(2-x)", 5, 8},   {"1-(x-1)-1", 4, -3}, {"2/(x-1)/4", 2, 0.5},
        {"(2-x)^3", 5, -27},    {"x-2*x^3", 2, -14}, {"-x^3", 2, -8},      {"-2^2", 0, -4},
    };
    for (const auto& c : cases) {
        const Result r = evaluate(c.text, c.x);
        EXPECT_EQ(r.failure, 0) << c.text;
        EXPECT_EQ(r.value, c.value) << c.text << " at " << c.x;
    }

    const double big = std::numeric_limits<double>::max();
    const double inf = std::numeric_limits<double>::infinity();
    struct Failing {
        const char* text;
        double x;
        int failure;
    } failing[] = {
        {"sin()", 1, kErrMissing},           {"sin+x", 1, kErrMissing},
        {"1/(x-2)", 2, kErrDivZero},         {"(x-2)/0", 5, kErrDivZero},
        {"0/(x-2)", 2, kErrOverflow},        {"2-(x*x)^0.5*0", -1e200, kErrOverflow},
        {"(-1)^(x/2)", 1, kErrDomain},       {"(-8)^(1/3)", 0, kErrDomain},
        {"(x-1)^0.5", 0, kErrDomain},        {"0^(x-2)", 1, kErrDivZero},
        {"(x-1)^(-1)", 1, kErrDivZero},      {"-1/x", 0, kErrDivZero},
        {"1e300*(x+1)", 1e10, kErrOverflow}, {"(1/0)*x", 1, kErrDivZero},
        {"10^400+x", 1, kErrOverflow},       {"(x*3)^9", 1e40, kErrOverflow},
        {"exp(x*2)", 400, kErrOverflow},     {"(1/x)^2", 1e-200, kErrOverflow},
        {"0-x-x", big, kErrOverflow},        {"1e999+x", 0, kErrOverflow},
        {"1/0+1e999", 0, kErrDivZero},       {"x", inf, kErrOverflow},
    };
    for (const auto& c : failing) EXPECT_EQ(evaluate(c.text, c.x).failure, c.failure) << c.text;

    testing::RecordingDialogs dialogs;
    Engine never(dialogs);
    EXPECT_EQ(failureNumber([&] { never.Fx_Eval(1.0); }), kErrMissing);
}

}  // namespace
}  // namespace quorel
