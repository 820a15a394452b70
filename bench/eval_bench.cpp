// f(x) evaluation per call on the example functions, against muparser
// evaluating the same functions in its own syntax at the same x. Both loops
// start with the AVX upper state cleared (see engine/cpu_state.h), which Qt's
// start-up in bench_main leaves dirty.
#include <benchmark/benchmark.h>
#include <muParser.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "engine/cpu_state.h"
#include "engine/engine.h"

namespace quorel::bench {
namespace {

struct Example {
    const char* ours;
    const char* muparser;  // muparser's "^" is right-assoc; none of these chains "^"
    double lo, hi;         // x range inside the function's domain
};

constexpr Example kExamples[] = {
    {"3X^2-2X+1", "3*x^2-2*x+1", -5, 5},
    {"sin(3)*X^2-2*cos(X+8)", "sin(3)*x^2-2*cos(x+8)", -5, 5},
    {"3X^3-2X^2-8", "3*x^3-2*x^2-8", -5, 5},
    {"X^3-3X-10", "x^3-3*x-10", -5, 5},
    {"(3x^2)*exp(2x-1)", "(3*x^2)*exp(2*x-1)", -5, 5},
    {"sin(x)-cos(x)+0.2x", "sin(x)-cos(x)+0.2*x", -5, 5},
    {"log(x^9-x^7+x^5)/log(9)-x-8", "ln(x^9-x^7+x^5)/ln(9)-x-8", 0.05, 5},
};
constexpr int kExampleCount = static_cast<int>(std::size(kExamples));
constexpr std::size_t kPoints = 512;  // a power of two

std::vector<double> points(const Example& ex) {
    std::vector<double> xs(kPoints);
    for (std::size_t i = 0; i < kPoints; ++i) {
        // A stride coprime to kPoints spreads consecutive calls over the range.
        const std::size_t k = (i * 173) % kPoints;
        xs[i] = ex.lo + (ex.hi - ex.lo) * (static_cast<double>(k) + 0.5) / kPoints;
    }
    return xs;
}

class NoDialogs : public UserDialogs {
  public:
    void message(const std::string&, const std::string&) override {}
    void pause() override {}
};

void BM_EvalOurs(benchmark::State& state) {
    const Example& ex = kExamples[state.range(0)];
    const std::vector<double> xs = points(ex);
    NoDialogs dialogs;
    Engine engine(dialogs);
    engine.Fx_Postfix(ex.ours);
    clearUpperVectorState();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(engine.Fx_Eval(xs[i++ & (kPoints - 1)]));
    }
    state.SetLabel(ex.ours);
}

void BM_EvalMuparser(benchmark::State& state) {
    const Example& ex = kExamples[state.range(0)];
    const std::vector<double> xs = points(ex);
    double x = 0.0;
    mu::Parser parser;
    parser.DefineVar("x", &x);
    parser.SetExpr(ex.muparser);

    // Both must compute the same function before their times mean anything.
    NoDialogs dialogs;
    Engine engine(dialogs);
    engine.Fx_Postfix(ex.ours);
    for (double p : xs) {
        x = p;
        const double ours = engine.Fx_Eval(p);
        if (std::fabs(parser.Eval() - ours) > 1e-9 * std::max(1.0, std::fabs(ours))) {
            state.SkipWithError("muparser and the engine disagree");
            return;
        }
    }

    clearUpperVectorState();
    std::size_t i = 0;
    for (auto _ : state) {
        x = xs[i++ & (kPoints - 1)];
        benchmark::DoNotOptimize(parser.Eval());
    }
    state.SetLabel(ex.muparser);
}

BENCHMARK(BM_EvalOurs)->DenseRange(0, kExampleCount - 1);
BENCHMARK(BM_EvalMuparser)->DenseRange(0, kExampleCount - 1);

const SummaryLine kRatio(10, [] {
    std::vector<double> ratios;
    for (int i = 0; i < kExampleCount; ++i) {
        const auto ours = results().find("BM_EvalOurs/" + std::to_string(i));
        const auto peer = results().find("BM_EvalMuparser/" + std::to_string(i));
        if (ours == results().end() || peer == results().end() || peer->second <= 0) continue;
        ratios.push_back(ours->second / peer->second);
    }
    if (ratios.empty()) return std::string("eval ratio vs muparser: n/a");
    std::sort(ratios.begin(), ratios.end());
    const std::size_t n = ratios.size();
    const double median = n % 2 == 1 ? ratios[n / 2] : (ratios[n / 2 - 1] + ratios[n / 2]) / 2;
    char line[64];
    std::snprintf(line, sizeof line, "eval ratio vs muparser: %.3f", median);
    return std::string(line);
});

}  // namespace
}  // namespace quorel::bench
