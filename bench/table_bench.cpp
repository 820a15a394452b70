// The iteration table at 20,000 rows: filling it row by row as a calculation
// does, clearing it, and the memory the filled rows take.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "bench/bench_support.h"
#include "table/frm_dspdta.h"

namespace quorel::bench {
namespace {

constexpr long long kRows = 20'000;

// One row per pass, numbered as the driver numbers them.
void fill(FrmDSPDTA& table) {
    for (long long i = 0; i < kRows; ++i) {
        const double x = std::sqrt(2.0) + 0.0137 * static_cast<double>(i);
        table.DspDta(i, x, x * x - 2.0, 2.0 * x);
    }
}

// Resident-set figures of this process in kB ("VmHWM", "VmRSS").
long long statusKb(const char* field) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(field, 0) == 0) {
            std::istringstream rest(line.substr(line.find(':') + 1));
            long long kb = 0;
            rest >> kb;
            return kb;
        }
    }
    return -1;
}

// Starts a new peak: the kernel resets VmHWM to the current resident size.
void resetPeak() {
    if (std::FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", f);
        std::fclose(f);
    }
}

double gPeakKb = -1;
double gHeapBytesPerRow = -1;

void BM_TableFill20000(benchmark::State& st) {
    for (auto _ : st) {
        st.PauseTiming();
        FrmDSPDTA table;
        table.Dta_Clr();
        malloc_trim(0);
        resetPeak();
        const long long rssBefore = statusKb("VmRSS");
        const std::size_t heapBefore = mallinfo2().uordblks;
        st.ResumeTiming();

        fill(table);

        st.PauseTiming();
        gPeakKb = static_cast<double>(statusKb("VmHWM") - rssBefore);
        gHeapBytesPerRow = static_cast<double>(mallinfo2().uordblks - heapBefore) / kRows;
        benchmark::DoNotOptimize(table.rowCount());
        st.ResumeTiming();
    }
    st.counters["peak_kB"] = gPeakKb;
    st.counters["heap_B_per_row"] = gHeapBytesPerRow;
}
BENCHMARK(BM_TableFill20000)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_TableClear20000(benchmark::State& st) {
    FrmDSPDTA table;
    for (auto _ : st) {
        st.PauseTiming();
        table.Dta_Clr();
        fill(table);
        st.ResumeTiming();

        table.Dta_Clr();
    }
    benchmark::DoNotOptimize(table.rowCount());
}
BENCHMARK(BM_TableClear20000)->Iterations(3)->Unit(benchmark::kMillisecond);

std::string ms(const char* name) {
    const auto it = results().find(name);
    if (it == results().end()) return "n/a";
    std::ostringstream out;
    out.precision(3);
    out << std::fixed << it->second / 1e6 << " ms";
    return out.str();
}

const SummaryLine kTableLine(2, [] {
    std::ostringstream out;
    out << "table, 20000 rows: fill " << ms("BM_TableFill20000/iterations:3") << ", clear "
        << ms("BM_TableClear20000/iterations:3") << ", fill peak " << gPeakKb << " kB ("
        << gHeapBytesPerRow << " heap bytes a row)";
    return out.str();
});

}  // namespace
}  // namespace quorel::bench
