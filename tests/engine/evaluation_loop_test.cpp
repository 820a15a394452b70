// The evaluation loop against the slow reference evaluator, and the failure
// each operation raises where it fails.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "common/failure.h"
#include "engine/engine.h"
#include "tests/engine/translation_cases.h"
#include "tests/support/failure_number.h"
#include "tests/support/reference_eval.h"

namespace quorel {
namespace {

using testing::failureNumber;

const double kInf = std::numeric_limits<double>::infinity();
const double kBig = std::numeric_limits<double>::max();

// Whether the last translation of a text refuses its sequence.
bool refuses(const FxProblem& p) {
    return p.kind != FxProblemKind::None && p.kind != FxProblemKind::BeyondRange;
}

// f(x) as a text typed by the user, or (after a leading byte 1) tokens added
// to the queue directly, one per line, as the fuzz seeds are written. Returns
// whether the sequence is refused.
bool enter(Engine& e, const std::string& input) {
    if (input.empty() || input[0] != '\x01') return refuses(e.Fx_Postfix(input).problem);
    std::istringstream lines(input.substr(1));
    for (std::string token; std::getline(lines, token);) e.FxQueue.add(token);
    e.FxQueue.HoldValue();
    return false;
}

TEST(EvaluationLoop, SameValueBitsFailuresAndReadStateAsTheReference) {
    std::vector<std::string> inputs;
    for (const auto& c : testing::kTranslationCases) inputs.emplace_back(c.text);
    for (const auto& entry : std::filesystem::directory_iterator(QUOREL_FUZZ_SEEDS)) {
        std::ifstream in(entry.path(), std::ios::binary);
        inputs.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    ASSERT_GE(inputs.size(), std::size(testing::kTranslationCases) + 30);
    // Constant groups that fold, and that fail where they stand.
    for (const char* text : {"sin(3)*x^2", "2^3^2-x", "-(2*3)+x", "(1/0)*x", "10^400+x",
                             "1/0+1e999", "x*2^0.5", "1e300*1e10+x", "log(0-1)+x"})
        inputs.emplace_back(text);
    const double xs[] = {0.0,
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
                         kBig};

    // One engine sees every input in turn, so its queue wraps and leftovers stay.
    Engine e;
    for (const std::string& input : inputs) {
        const bool refused = enter(e, input);
        for (double x : xs) {
            EXPECT_EQ(testing::outcomeAndReadState(e, [&] { return e.Fx_Eval(x); }),
                      testing::outcomeAndReadState(
                          e, [&] { return testing::referenceEval(e, x, refused); }))
                << '"' << input << "\" at " << x;
        }
    }
}

TEST(EvaluationLoop, EachOperationFailsWithItsNumber) {
    struct Case {
        const char* text;
        double x;
        int failure;
    } cases[] = {
        {"x+1e308", 1e308, kErrOverflow},    {"0-x-x", kBig, kErrOverflow},
        {"1e300*(x+1)", 1e10, kErrOverflow}, {"1/(x-2)", 2, kErrDivZero},
        {"(x-2)/0", 5, kErrDivZero},         {"0/(x-2)", 2, kErrOverflow},
        {"x/0.1", 1e308, kErrOverflow},      {"(-1)^(x/2)", 1, kErrDomain},
        {"(-8)^(1/3)", 0, kErrDomain},       {"(x-1)^0.5", 0, kErrDomain},
        {"0^(x-2)", 1, kErrDivZero},         {"(x*3)^9", 1e40, kErrOverflow},
        {"x^400", 10, kErrOverflow},         {"exp(x*2)", 400, kErrOverflow},
        {"sqr(x)", -1, kErrDomain},          {"log(x)", 0, kErrDomain},
        {"log(x)", -1, kErrDomain},          {"sin()", 1, kErrMissing},
        {"sin+x", 1, kErrMissing},           {"1e999+x", 0, kErrOverflow},
        {"1/0+1e999", 0, kErrDivZero},       {"x", kInf, kErrOverflow},
    };
    Engine e;
    for (const auto& c : cases) {
        e.Fx_Postfix(c.text);
        EXPECT_EQ(failureNumber([&] { e.Fx_Eval(c.x); }), c.failure) << c.text << " at " << c.x;
    }
    Engine never;
    EXPECT_EQ(failureNumber([&] { never.Fx_Eval(1.0); }), kErrMissing);
}

}  // namespace
}  // namespace quorel
