// Drawing one curve as a calculation does: the frame, then one Line_C per
// sample of a cubic at the start-up size (about 3,200 segments, most of them
// leaving the plot), then the flush into the retained image.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "bench/bench_support.h"
#include "graph/frm_graph.h"

namespace quorel::bench {
namespace {

class NoDialogs : public UserDialogs {
  public:
    void message(const std::string&, const std::string&) override {}
    void pause() override {}
};

long long gSegments = 0;

void BM_GraphCurve3200(benchmark::State& st) {
    ProgramState state;
    state.OrgFracX = state.OrgFracY = 0.5;
    state.GraphW = 39;
    state.GraphH = 90;
    state.OrgX = 19;
    state.OrgY = 45;
    NoDialogs dialogs;
    FrmGraph graph(state, dialogs);
    graph.resize(515, 572);
    const double x0 = 3;
    const double lo = x0 + 3 - state.OrgX, hi = x0 + state.OrgX - 3;
    for (auto _ : st) {
        state.OffX = state.OrgX - x0;
        graph.INZGraph(x0);
        state.IterCount = 0;
        gSegments = 0;
        for (double t = lo; t <= hi; t += 0.01) {
            graph.Line_C(t, t * t * t - 3 * t - 10);
            if (state.IterCount == 0) state.IterCount = 1;
            ++gSegments;
        }
        benchmark::DoNotOptimize(graph.picThree().image().constBits());
    }
    st.counters["segments"] = static_cast<double>(gSegments - 1);
}
BENCHMARK(BM_GraphCurve3200)->Unit(benchmark::kMillisecond)->MinTime(0.5);

const SummaryLine kGraphLine(1, [] {
    double ns = -1;
    for (const auto& [name, time] : results())
        if (name.rfind("BM_GraphCurve3200", 0) == 0) ns = time;
    char buf[96];
    std::snprintf(buf, sizeof buf, "graph curve of %lld segments ms: %.3f", gSegments - 1,
                  ns / 1e6);
    return std::string(buf);
});

}  // namespace
}  // namespace quorel::bench
