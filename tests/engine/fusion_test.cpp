// Evaluation with fused steps against evaluation one step per token, and the
// fused forms one by one against their closed forms.
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
#include <vector>

#include "common/failure.h"
#include "engine/engine.h"
#include "engine/power.h"
#include "tests/engine/translation_cases.h"
#include "tests/support/recording_dialogs.h"

namespace quorel {
namespace {

struct Outcome {
    std::uint64_t bits = 0;
    int failure = 0;
    int front = 0;
    bool hasItems = false;
    bool succeeded = false;

    bool operator==(const Outcome&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Outcome& o) {
    return out << "value " << std::bit_cast<double>(o.bits) << " failure " << o.failure << " front "
               << o.front << " hasItems " << o.hasItems << " succeeded " << o.succeeded;
}

template <typename F>
Outcome outcomeOf(Engine& e, F f) {
    Outcome o;
    try {
        o.bits = std::bit_cast<std::uint64_t>(f());
    } catch (const Failure& failure) {
        o.failure = failure.number();
    }
    o.front = e.FxQueue.front();
    o.hasItems = e.FxQueue.hasItems();
    o.succeeded = e.FxQueue.succeeded;
    return o;
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

std::vector<std::string> seeds() {
    std::vector<std::string> inputs;
    for (const auto& entry : std::filesystem::directory_iterator(QUOREL_FUZZ_SEEDS)) {
        std::ifstream in(entry.path(), std::ios::binary);
        inputs.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return inputs;
}

const double kInf = std::numeric_limits<double>::infinity();
const double kXs[] = {0.0,
                      1.0,
                      -1.0,
                      2.0,
                      -2.5,
                      0.5,
                      3.0,
                      -8.0,
                      1e-3,
                      1e-160,
                      1e300,
                      -1e300,
                      710.0,
                      1.5e8,
                      kInf,
                      -kInf,
                      std::numeric_limits<double>::quiet_NaN(),
                      5e-324,
                      1.7976931348623157e308};

TEST(Fusion, SameValueBitsFailuresAndReadStateAsOneStepPerToken) {
    std::vector<std::string> inputs;
    for (const auto& c : testing::kTranslationCases) inputs.emplace_back(c.text);
    const std::vector<std::string> seedInputs = seeds();
    ASSERT_GE(seedInputs.size(), 30u);
    inputs.insert(inputs.end(), seedInputs.begin(), seedInputs.end());

    // Both engines see the same history, so their queues advance alike.
    testing::RecordingDialogs dialogs;
    Engine fused(dialogs);
    Engine stepwise(dialogs);
    stepwise.setFusion(false);
    ASSERT_TRUE(fused.fusion());
    ASSERT_FALSE(stepwise.fusion());
    for (const std::string& input : inputs) {
        enter(fused, input);
        enter(stepwise, input);
        for (double x : kXs) {
            const Outcome a = outcomeOf(fused, [&] { return fused.Fx_Eval(x); });
            const Outcome b = outcomeOf(stepwise, [&] { return stepwise.Fx_Eval(x); });
            EXPECT_EQ(a, b) << '"' << input << "\" at " << x;
            const Outcome da = outcomeOf(fused, [&] { return fused.Fx_Diff(x); });
            const Outcome db = outcomeOf(stepwise, [&] { return stepwise.Fx_Diff(x); });
            EXPECT_EQ(da, db) << "slope of \"" << input << "\" at " << x;
        }
    }
}

// The value of a text at x with fusion on and off; both must agree, and the
// result is the value or the failure number.
struct Result {
    double value = 0.0;
    int failure = 0;
};

Result evaluate(const std::string& text, double x) {
    Result results[2];
    for (bool fusion : {true, false}) {
        testing::RecordingDialogs dialogs;
        Engine e(dialogs);
        e.setFusion(fusion);
        e.Fx_Postfix(text);
        Result& r = results[fusion ? 0 : 1];
        try {
            r.value = e.Fx_Eval(x);
        } catch (const Failure& f) {
            r.failure = f.number();
        }
    }
    EXPECT_EQ(std::bit_cast<std::uint64_t>(results[0].value),
              std::bit_cast<std::uint64_t>(results[1].value))
        << text << " at " << x;
    EXPECT_EQ(results[0].failure, results[1].failure) << text << " at " << x;
    return results[0];
}

// Each binary operator with its operands taken from a number, from x and
// from a computed group, in every combination: each is a different fused
// step. The group is (x+0), whose value is x.
TEST(Fusion, EveryFormOfEveryOperatorMatchesItsClosedForm) {
    struct Pair {
        double a, b;
        int failure;  // 0: the closed form's value
    };
    struct Operator {
        char symbol;
        double (*closed)(double, double);
        std::vector<Pair> pairs;
    } operators[] = {
        {'+',
         [](double a, double b) { return a + b; },
         {{1.5, 2.25, 0}, {-7, 3, 0}, {1e308, 1e308, kErrOverflow}}},
        {'-',
         [](double a, double b) { return a - b; },
         {{1.5, 4, 0}, {2, 9, 0}, {-1e308, 1e308, kErrOverflow}}},
        {'*',
         [](double a, double b) { return a * b; },
         {{1.5, -4, 0}, {0.1, 3, 0}, {1e200, 1e200, kErrOverflow}}},
        {'/',
         [](double a, double b) { return a / b; },
         {{3, 4, 0},
          {1, 3, 0},
          {5, 0, kErrDivZero},
          {0, 0, kErrOverflow},
          {1e308, 0.1, kErrOverflow}}},
        {'^',
         [](double a, double b) { return power(a, b); },
         {{3, 3, 0},
          {-2, 5, 0},
          {1.1, 16, 0},
          {2.5, 0.5, 0},
          {0.7, 9, 0},
          {2, -1, 0},
          {-8, 0.5, kErrDomain},
          {0, -1, kErrDivZero},
          {10, 400, kErrOverflow},
          {1e200, 3, kErrOverflow}}},
    };
    // How an operand is written: a number literal, x, or the group (x+0).
    enum Source { Number, X, Group };
    // A number as f(x) text: no "+" in the exponent (it would end the
    // number), a negative one in parentheses.
    auto literal = [](double v) {
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.17g", std::fabs(v));
        std::string t;
        for (const char* c = buf; *c != 0; ++c) {
            if (*c != '+') t += *c;
        }
        return v < 0 ? "(-" + t + ")" : t;
    };
    auto operand = [&](Source s, double v) {
        return s == Number ? literal(v) : s == X ? std::string("x") : std::string("(x+0)");
    };
    int checked = 0;
    for (const Operator& op : operators) {
        for (Source left : {Number, X, Group}) {
            for (Source right : {Number, X, Group}) {
                if (left == Number && right == Number) continue;
                for (const Pair& p : op.pairs) {
                    // x stands for whichever operands are not numbers; both
                    // of them when neither is.
                    if (left != Number && right != Number && p.a != p.b) continue;
                    const double x = left != Number ? p.a : p.b;
                    const std::string text =
                        operand(left, p.a) + std::string(1, op.symbol) + operand(right, p.b);
                    const Result r = evaluate(text, x);
                    if (p.failure == 0) {
                        EXPECT_EQ(r.failure, 0) << text << " at " << x;
                        EXPECT_EQ(r.value, op.closed(p.a, p.b)) << text << " at " << x;
                    } else {
                        EXPECT_EQ(r.failure, p.failure) << text << " at " << x;
                    }
                    ++checked;
                }
            }
        }
    }
    EXPECT_GT(checked, 100);

    // Operands equal by construction: x op x and (x+0) op (x+0).
    for (const char* text : {"x-x", "(x+0)-(x+0)", "x-(x+0)", "(x+0)-x"})
        EXPECT_EQ(evaluate(text, 3.5).value, 0.0) << text;
    for (const char* text : {"x/x", "(x+0)/(x+0)"})
        EXPECT_EQ(evaluate(text, 0).failure, kErrOverflow);
    for (const char* text : {"x^x", "(x+0)^x", "x^(x+0)"}) {
        EXPECT_EQ(evaluate(text, 3).value, 27.0) << text;
        EXPECT_EQ(evaluate(text, -0.5).failure, kErrDomain) << text;
    }
}

// Constant minus group and the like: a fused step whose constant stands on
// the other side of a group must keep the operands in their order.
TEST(Fusion, ConstantsOnEitherSideOfAGroup) {
    struct Case {
        const char* text;
        double x;
        double value;
    } cases[] = {
        {"2-x^2", 3, -7},       {"x^2-2", 3, 7},        {"12/x^2", 2, 3},     {"x^2/12", 6, 3},
        {"2^x^2", 3, 64},       {"(x^2)^0.5", -3, 3},   {"3^(x+1)", 1, 9},    {"(x+1)^3", 1, 8},
        {"10-sin(x)*4", 0, 10}, {"x-(2-x)", 5, 8},      {"1-(x-1)-1", 4, -3}, {"2*x-x*3", 1, -1},
        {"x-2*x^3", 2, -14},    {"(x-1)-(x+1)", 7, -2}, {"-x^3", 2, -8},      {"2/(x-1)/4", 2, 0.5},
        {"x^3-3x-10", 2, -8},   {"(2-x)^3", 5, -27},    {"0-(x^2-x)", 3, -6}, {"4-exp(0)*x", 1, 3},
    };
    for (const auto& c : cases) {
        const Result r = evaluate(c.text, c.x);
        EXPECT_EQ(r.failure, 0) << c.text;
        EXPECT_EQ(r.value, c.value) << c.text << " at " << c.x;
    }

    // Failures inside and after a group, at the group's operator.
    struct Failing {
        const char* text;
        double x;
        int failure;
    } failing[] = {
        {"1/(x-2)", 2, kErrDivZero},         {"(x-2)/0", 5, kErrDivZero},
        {"0/(x-2)", 2, kErrOverflow},        {"2-(x*x)^0.5*0", -1e200, kErrOverflow},
        {"(-1)^(x/2)", 1, kErrDomain},       {"(x-1)^0.5", 0, kErrDomain},
        {"0^(x-2)", 1, kErrDivZero},         {"(x-1)^(-1)", 1, kErrDivZero},
        {"1e300*(x+1)", 1e10, kErrOverflow}, {"(1/0)*x", 1, kErrDivZero},
        {"10^400+x", 1, kErrOverflow},       {"log(0)*x", 1, kErrDomain},
        {"(x*3)^9", 1e40, kErrOverflow},     {"exp(x*2)", 400, kErrOverflow},
    };
    for (const auto& c : failing) EXPECT_EQ(evaluate(c.text, c.x).failure, c.failure) << c.text;
}

// Functions of a number (computed once), of x, and of a group.
TEST(Fusion, FunctionsOfANumberOfXAndOfAGroup) {
    struct Function {
        const char* name;
        double (*closed)(double);
        std::vector<double> args;
        std::vector<std::pair<double, int>> failing;
    } functions[] = {
        {"sin", [](double a) { return std::sin(a); }, {0.5, -3, 100}, {}},
        {"cos", [](double a) { return std::cos(a); }, {0.5, -3, 100}, {}},
        {"tan", [](double a) { return std::tan(a); }, {0.5, -3}, {}},
        {"atn", [](double a) { return std::atan(a); }, {0.5, -3, 1e10}, {}},
        {"exp", [](double a) { return std::exp(a); }, {0.5, -3, 700}, {{710, kErrOverflow}}},
        {"sqr", [](double a) { return std::sqrt(a); }, {0.5, 3, 0}, {{-4, kErrDomain}}},
        {"log",
         [](double a) { return std::log(a); },
         {0.5, 3},
         {{0, kErrDomain}, {-1, kErrDomain}}},
    };
    for (const Function& f : functions) {
        for (double a : f.args) {
            std::ostringstream number;
            number.precision(17);
            number << a;
            const std::string texts[] = {std::string(f.name) + "(" + number.str() + ")+x*0",
                                         std::string(f.name) + "(x)",
                                         std::string(f.name) + "((x+0))"};
            for (const std::string& text : texts) {
                const Result r = evaluate(text, a);
                EXPECT_EQ(r.failure, 0) << text << " at " << a;
                EXPECT_EQ(r.value, f.closed(a)) << text << " at " << a;
            }
        }
        for (const auto& [a, failure] : f.failing) {
            std::ostringstream number;
            number << std::fabs(a);
            const std::string arg = a < 0 ? "(-" + number.str() + ")" : number.str();
            for (const std::string& text :
                 {std::string(f.name) + "(" + arg + ")", std::string(f.name) + "(x)",
                  std::string(f.name) + "((x+0))"})
                EXPECT_EQ(evaluate(text, a).failure, failure) << text << " at " << a;
        }
    }
    EXPECT_EQ(evaluate("-(x+0)", 2).value, -2.0);
    EXPECT_EQ(evaluate("-x", 2).value, -2.0);
    EXPECT_EQ(evaluate("+(x+0)", 2).value, 2.0);
    EXPECT_EQ(evaluate("-2^2", 0).value, -4.0);
}

}  // namespace
}  // namespace quorel
