// The convergence window's plot painted for the rows of a 55-pass run and of
// a 1,000,000-pass run of "x^2+1" from 0.5 (no root: every pass is listed).
#include <benchmark/benchmark.h>

#include <QImage>
#include <string>

#include "bench/bench_support.h"
#include "table/convergence_plot.h"
#include "table/frm_convergence.h"

namespace quorel::bench {
namespace {

void fillRows(RowStore& rows, long long passes) {
    double x = 0.5;
    for (long long i = 0; i <= passes; ++i) {
        const double fx = x * x + 1, dfx = 2 * x;
        rows.set(i, {CellValue{x, 0}, CellValue{fx, 0}, CellValue{dfx, 0}});
        x -= fx / dfx;
    }
}

void convergenceRedraw(benchmark::State& st, long long passes) {
    RowStore rows;
    fillRows(rows, passes);
    FrmConvergence window(rows);
    window.resize(493, 340);
    window.show();
    ConvergencePlot& plot = window.plot();
    QImage image(plot.size() * plot.devicePixelRatio(), QImage::Format_RGB32);
    image.setDevicePixelRatio(plot.devicePixelRatio());
    for (auto _ : st) {
        plot.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_ConvergenceRedraw55(benchmark::State& st) {
    convergenceRedraw(st, 55);
}
BENCHMARK(BM_ConvergenceRedraw55)->Unit(benchmark::kMillisecond)->MinTime(0.5);

void BM_ConvergenceRedrawMillion(benchmark::State& st) {
    convergenceRedraw(st, 1000000);
}
BENCHMARK(BM_ConvergenceRedrawMillion)->Unit(benchmark::kMillisecond)->MinTime(0.5);

const SummaryLine kConvergenceLine(40, [] {
    return millisecondsLine("convergence redraw ms", "BM_ConvergenceRedraw55");
});
const SummaryLine kConvergenceMillionLine(42, [] {
    return millisecondsLine("convergence redraw ms at 1e6", "BM_ConvergenceRedrawMillion");
});

}  // namespace
}  // namespace quorel::bench
