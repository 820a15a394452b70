// Start-up: the main window made and shown until its first paint, against a
// bare Qt MDI frame with three child windows made and shown alike. Repeated,
// the repetitions of the two interleaved, and compared by their medians.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <cstdio>
#include <memory>
#include <string>

#include "app/mdi_form.h"
#include "bench/bench_support.h"

namespace quorel::bench {
namespace {

template <class Make>
void timeStart(benchmark::State& st, Make make) {
    for (auto _ : st) {
        std::unique_ptr<QWidget> w = make();
        w->show();
        QApplication::processEvents();
        st.PauseTiming();
        w.reset();
        QApplication::processEvents();
        st.ResumeTiming();
    }
}

void BM_StartMainWindow(benchmark::State& st) {
    timeStart(st, [] { return std::make_unique<MDIForm1>(); });
}
BENCHMARK(BM_StartMainWindow)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(9);

void BM_StartBareMdi(benchmark::State& st) {
    timeStart(st, [] {
        auto w = std::make_unique<QMainWindow>();
        auto* area = new QMdiArea(w.get());
        w->setCentralWidget(area);
        for (const char* name : {"one", "two", "three"}) area->addSubWindow(new QLabel(name));
        w->resize(882, 606);
        return w;
    });
}
BENCHMARK(BM_StartBareMdi)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(9);

double median(const std::string& name) {
    for (const auto& [run, ns] : results())
        if (run.rfind(name + "/", 0) == 0 && run.ends_with("_median")) return ns / 1e6;
    return -1;
}

const SummaryLine kStartLine(50, [] {
    const double main = median("BM_StartMainWindow"), bare = median("BM_StartBareMdi");
    char buf[160];
    std::snprintf(buf, sizeof buf,
                  "start-up ms: main window %.2f, bare MDI with three children %.2f, ratio %.2f",
                  main, bare, main / bare);
    return std::string(buf);
});

}  // namespace
}  // namespace quorel::bench
