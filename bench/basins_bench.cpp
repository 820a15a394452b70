// The basin strip of the typical view: X^3-3X-10 about 3 at the start-up
// size, error 0.000001, 55 loops: a run from every column worked out, then
// the strip painted.
#include <benchmark/benchmark.h>

#include <climits>

#include "bench/bench_support.h"
#include "engine/engine.h"
#include "graph/basin_strip.h"
#include "graph/frm_graph.h"
#include "solver/basins.h"
#include "typical_graph.h"

namespace quorel::bench {
namespace {

void BM_BasinStripTypicalView(benchmark::State& st) {
    TypicalGraph typical;
    ProgramState& state = typical.state;
    FrmGraph& graph = typical.form;
    state.OffX = state.OrgX - 3;
    graph.INZGraph(3);
    Engine engine;
    engine.Fx_Postfix("X^3-3X-10");
    BasinMap map(engine, 1e-6, 55);
    BasinStrip& strip = graph.basins();
    QObject::connect(&strip, &BasinStrip::columnsWanted, [&](const std::vector<double>& xs) {
        map.start(xs);
        while (map.work(LLONG_MAX)) {
        }
        strip.setPicture(map.picture());
    });
    graph.showBasins(true);
    for (auto _ : st) {
        strip.forget();
        strip.refreshColumns();
        benchmark::DoNotOptimize(strip.grab().cacheKey());
    }
    st.counters["columns"] = static_cast<double>(strip.picture().xs.size());
}
BENCHMARK(BM_BasinStripTypicalView)->Unit(benchmark::kMillisecond)->MinTime(0.5);

const SummaryLine kBasinsLine(45, [] {
    return millisecondsLine("basins strip ms", "BM_BasinStripTypicalView");
});

}  // namespace
}  // namespace quorel::bench
