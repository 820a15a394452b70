// f(x) evaluation per call on the example functions, against muparser
// evaluating the same functions in its own syntax at the same x. Both loops
// start with the AVX upper state cleared: Qt's start-up in bench_main leaves
// it dirty, which makes every SSE instruction of either side pay a transition
// penalty until it is cleared.
//
// Each side of each example is repeated, the repetitions of all of them run
// in random order (bench_main turns random interleaving on), and the times
// compared are medians of the repetitions' CPU times: a change of load during
// the run falls on both sides alike, and time lost to other processes is not
// counted. The ratio line is the median over the examples of the per-example
// ratios ours / muparser; the max line the worst example.
#include <benchmark/benchmark.h>
#include <muParser.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_support.h"
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

void BM_EvalOurs(benchmark::State& state) {
    const Example& ex = kExamples[state.range(0)];
    const std::vector<double> xs = points(ex);
    Engine engine;
    engine.Fx_Postfix(ex.ours);
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
    Engine engine;
    engine.Fx_Postfix(ex.ours);
    for (double p : xs) {
        x = p;
        const double ours = engine.Fx_Eval(p);
        if (std::fabs(parser.Eval() - ours) > 1e-9 * std::max(1.0, std::fabs(ours))) {
            state.SkipWithError("muparser and the engine disagree");
            return;
        }
    }

    std::size_t i = 0;
    for (auto _ : state) {
        x = xs[i++ & (kPoints - 1)];
        benchmark::DoNotOptimize(parser.Eval());
    }
    state.SetLabel(ex.muparser);
}

constexpr int kRepetitions = 15;
constexpr double kSecondsPerRepetition = 0.04;

BENCHMARK(BM_EvalOurs)
    ->DenseRange(0, kExampleCount - 1)
    ->Repetitions(kRepetitions)
    ->MinTime(kSecondsPerRepetition)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_EvalMuparser)
    ->DenseRange(0, kExampleCount - 1)
    ->Repetitions(kRepetitions)
    ->MinTime(kSecondsPerRepetition)
    ->ReportAggregatesOnly(true);

// Median CPU ns per call of one side of one example, or a negative number
// when it did not run.
double medianNs(const char* side, int example) {
    const std::string prefix = std::string(side) + "/" + std::to_string(example) + "/";
    const std::string suffix = "_median";
    for (const auto& [name, ns] : cpuResults()) {
        if (name.rfind(prefix, 0) == 0 && name.size() >= suffix.size() &&
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
            return ns;
    }
    return -1.0;
}

std::vector<double> ratios() {
    std::vector<double> r;
    for (int i = 0; i < kExampleCount; ++i) {
        const double ours = medianNs("BM_EvalOurs", i);
        const double peer = medianNs("BM_EvalMuparser", i);
        if (ours > 0 && peer > 0) r.push_back(ours / peer);
    }
    std::sort(r.begin(), r.end());
    return r;
}

const SummaryLine kPerExample(9, [] {
    std::string text = "eval ns ours/muparser:";
    for (int i = 0; i < kExampleCount; ++i) {
        char part[160];
        std::snprintf(part, sizeof part, "%s %s %.1f/%.1f", i == 0 ? "" : ";", kExamples[i].ours,
                      medianNs("BM_EvalOurs", i), medianNs("BM_EvalMuparser", i));
        text += part;
    }
    return text;
});

const SummaryLine kRatio(10, [] {
    const std::vector<double> r = ratios();
    if (r.empty()) return std::string("eval ratio vs muparser: n/a");
    const std::size_t n = r.size();
    const double median = n % 2 == 1 ? r[n / 2] : (r[n / 2 - 1] + r[n / 2]) / 2;
    char line[64];
    std::snprintf(line, sizeof line, "eval ratio vs muparser: %.3f", median);
    return std::string(line);
});

const SummaryLine kMaxRatio(11, [] {
    const std::vector<double> r = ratios();
    if (r.empty()) return std::string("eval max ratio vs muparser: n/a");
    char line[64];
    std::snprintf(line, sizeof line, "eval max ratio vs muparser: %.3f", r.back());
    return std::string(line);
});

}  // namespace
}  // namespace quorel::bench
