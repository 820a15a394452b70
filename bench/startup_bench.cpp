// Start-up: the program started as a process until its main window is shown,
// against a bare Qt MDI program with three child windows started alike.
// Repeated, the repetitions of the two interleaved, compared by their medians.
#include <benchmark/benchmark.h>

#include <QProcess>
#include <cstdio>
#include <string>

#include "bench/bench_support.h"

namespace quorel::bench {
namespace {

void timeStart(benchmark::State& st, const char* program) {
    for (auto _ : st) {
        QProcess p;
        p.start(QString::fromUtf8(program), {});
        if (!p.waitForFinished(30000) || p.exitCode() != 0) {
            st.SkipWithError("the probe did not start and end");
            return;
        }
    }
}

void BM_StartMainWindow(benchmark::State& st) {
    timeStart(st, QUOREL_MAIN_WINDOW_PROBE);
}
BENCHMARK(BM_StartMainWindow)->Unit(benchmark::kMillisecond)->Iterations(2)->Repetitions(9);

void BM_StartBareMdi(benchmark::State& st) {
    timeStart(st, QUOREL_BARE_MDI_PROBE);
}
BENCHMARK(BM_StartBareMdi)->Unit(benchmark::kMillisecond)->Iterations(2)->Repetitions(9);

double median(const std::string& name) {
    for (const auto& [run, ns] : results())
        if (run.rfind(name + "/", 0) == 0 && run.ends_with("_median")) return ns / 1e6;
    return -1;
}

const SummaryLine kStartLine(50, [] {
    const double main = median("BM_StartMainWindow"), bare = median("BM_StartBareMdi");
    char buf[160];
    std::snprintf(buf, sizeof buf,
                  "start-up ms: main window %.1f, bare MDI with three children %.1f, ratio %.3f",
                  main, bare, main / bare);
    return std::string(buf);
});

}  // namespace
}  // namespace quorel::bench
