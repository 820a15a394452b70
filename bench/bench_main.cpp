// Runs every benchmark headless, records each run's time, then prints the
// summary lines the benchmark files registered.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <iostream>
#include <vector>

#include "bench/bench_support.h"

namespace quorel::bench {
namespace {

std::map<std::string, double>& mutableResults() {
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
            const double perUnit = run.GetAdjustedRealTime();
            const double ns = perUnit / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e9;
            mutableResults()[run.benchmark_name()] = ns;
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

}  // namespace

const std::map<std::string, double>& results() {
    return mutableResults();
}

SummaryLine::SummaryLine(int order, std::function<std::string()> make) {
    lines().emplace_back(order, std::move(make));
}

}  // namespace quorel::bench

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
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
