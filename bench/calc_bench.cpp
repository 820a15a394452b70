// Whole calculations through the real windows, headless: the typical run, a
// 20,000-pass and a 1,000,000-pass run without a real root.
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "app/mdi_form.h"
#include "bench/bench_support.h"
#include "solver/frm_fx.h"
#include "table/frm_dspdta.h"

namespace quorel::bench {
namespace {

class SilentDialogs : public UserDialogs {
  public:
    void message(const std::string&, const std::string&) override { ++messages; }
    bool pause() override { return true; }
    int messages = 0;
};

// The program, started and shown, with f, the initial value and the loop limit typed.
struct Program {
    Program(const char* f, const char* x0, const char* loops) : main(&dialogs) {
        main.show();
        QApplication::processEvents();
        main.frmFx().CmbFx().setEditText(f);
        main.frmFx().TexDFT().setText(x0);
        main.frmFx().TexLoops().setText(loops);
    }
    void calculate() { main.frmFx().CmdCal_Click(); }
    long long rows() { return main.frmDspdta().rowCount(); }

    SilentDialogs dialogs;
    MDIForm1 main;
};

// A "/proc/self/status" figure in megabytes: VmHWM the peak resident size
// since the last reset, VmRSS the resident size now.
double statusMegabytes(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) {
            std::istringstream in(line.substr(field.size()));
            double kb = 0;
            in >> kb;
            return kb / 1024.0;
        }
    }
    return 0;
}

double peakMegabytes() {
    return statusMegabytes("VmHWM:");
}

void resetPeakMemory() {
    // Heap pages the benchmarks run before this one freed go back to the
    // system first: the figure is then this run's, in any order of runs.
    malloc_trim(0);
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
}

double peakOfLongRun = 0;

void BM_TypicalRun(benchmark::State& state) {
    Program p("X^3-3X-10", "3", "55");
    for (auto _ : state) p.calculate();
    if (p.rows() != 5 || p.dialogs.messages != 0)
        state.SkipWithError("the typical run did not converge in four passes");
}
BENCHMARK(BM_TypicalRun)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// One whole timed calculation of `passes` passes that makes a table row
// each; records the peak resident size of the run in `peak`.
void runAllPasses(benchmark::State& state, Program& p, int passes, double& peak) {
    resetPeakMemory();
    state.counters["start_MB"] = statusMegabytes("VmRSS:");
    for (auto _ : state) p.calculate();
    peak = peakMegabytes();
    state.counters["peak_MB"] = peak;
    state.counters["rows"] = static_cast<double>(p.rows());
    if (p.rows() != passes + 1) state.SkipWithError("the run did not make every pass");
}

void BM_LongRun(benchmark::State& state) {
    Program p("x^2+1", "0.5", "20000");
    runAllPasses(state, p, 20000, peakOfLongRun);
}
BENCHMARK(BM_LongRun)->Unit(benchmark::kMillisecond)->Iterations(1);

double peakOfMillionRun = 0;

// "x^2+1" has no real root: with tolerance 0 every one of the 1,000,000
// passes runs, and each adds a table row.
void BM_MillionRun(benchmark::State& state) {
    Program p("x^2+1", "0.5", "1000000");
    p.main.frmFx().TexError().setText("0");
    runAllPasses(state, p, 1000000, peakOfMillionRun);
}
BENCHMARK(BM_MillionRun)->Unit(benchmark::kMillisecond)->Iterations(1);

std::string fixed(double v, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

const SummaryLine typicalLine(20, [] {
    return "typical run ms: " + fixed(resultStartingWith("BM_TypicalRun") / 1e6, 2);
});
const SummaryLine longLine(30, [] {
    return "long run s: " + fixed(resultStartingWith("BM_LongRun") / 1e9, 2) +
           " peak MB: " + fixed(peakOfLongRun, 0);
});
const SummaryLine millionLine(31, [] {
    return "million run s: " + fixed(resultStartingWith("BM_MillionRun") / 1e9, 2) +
           " peak MB: " + fixed(peakOfMillionRun, 0);
});

}  // namespace
}  // namespace quorel::bench
