// Runs every benchmark headless, records each run's time, then prints the
// summary lines the benchmark files registered.
#include <benchmark/benchmark.h>

#include <cstdio>

#include <QApplication>
#include <iostream>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "common/form_geometry.h"

namespace quorel::bench {
namespace {

std::map<std::string, double>& mutableResults() {
    static std::map<std::string, double> r;
    return r;
}

std::map<std::string, double>& mutableCpuResults() {
    static std::map<std::string, double> r;
    return r;
}

std::vector<std::pair<int, std::function<std::string()>>>& lines() {
    static std::vector<std::pair<int, std::function<std::string()>>> l;
    return l;
}

class RecordingReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            const double toNs = 1e9 / benchmark::GetTimeUnitMultiplier(run.time_unit);
            mutableResults()[run.benchmark_name()] = run.GetAdjustedRealTime() * toNs;
            mutableCpuResults()[run.benchmark_name()] = run.GetAdjustedCPUTime() * toNs;
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

}  // namespace

const std::map<std::string, double>& results() {
    return mutableResults();
}

const std::map<std::string, double>& cpuResults() {
    return mutableCpuResults();
}

double resultStartingWith(const std::string& prefix) {
    for (const auto& [name, ns] : results())
        if (name.rfind(prefix, 0) == 0) return ns;
    return -1;
}

std::string millisecondsLine(const char* label, const char* prefix) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "%s: %.3f", label, resultStartingWith(prefix) / 1e6);
    return buf;
}

SummaryLine::SummaryLine(int order, std::function<std::string()> make) {
    lines().emplace_back(order, std::move(make));
}

}  // namespace quorel::bench

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The windows draw in the faces the program itself uses.
    quorel::installFontFallbacks();
    // Repeated benchmarks run their repetitions in random order, mixed with
    // every other benchmark's, unless the command line says otherwise: a
    // change of load then falls on both sides of a comparison alike.
    std::vector<char*> args(argv, argv + argc);
    bool interleavingGiven = false;
    for (int i = 1; i < argc; ++i)
        interleavingGiven |=
            std::string(argv[i]).rfind("--benchmark_enable_random_interleaving", 0) == 0;
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    if (!interleavingGiven) args.insert(args.begin() + 1, interleave);
    int count = static_cast<int>(args.size());
    args.push_back(nullptr);
    benchmark::Initialize(&count, args.data());
    quorel::bench::RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    auto& l = quorel::bench::lines();
    std::stable_sort(l.begin(), l.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::cout.flush();
    for (const auto& [order, make] : l) std::cout << make() << std::endl;
    return 0;
}
