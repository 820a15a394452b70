// The graph window's drawing: one curve as a calculation draws it (the frame,
// then one Line_C per sample of a cubic at the start-up size, about 3,200
// segments, most of them leaving the plot, then the paint into the retained
// image); the whole picture of a 55-pass run painted again from the run at a
// new scale; and the tangents and markers of a 1,000,000-pass run, painted as
// the driver publishes its rows (at most once per 16 ms); one step of a replay
// of a 55-pass run.
#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <cmath>
#include <cstdio>
#include <string>

#include "bench/bench_support.h"
#include "graph/frm_graph.h"
#include "graph/run_drawing.h"
#include "run/run_model.h"
#include "typical_graph.h"

namespace quorel::bench {
namespace {

long long gSegments = 0;

// The graph window at the start-up size with the shared state it is drawn
// in, showing a run written here as the driver writes it.
struct Graph {
    Graph() { form.setRun(&run); }
    void clear(double x0) {
        state.OffX = state.OrgX - x0;
        run.clear(x0);
        form.INZGraph(x0);
    }
    // The curve of f over the plot, sampled as the driver samples it.
    template <class F>
    void curve(double x0, F f) {
        run.sampleCurve(x0 + 3 - state.OrgX, x0 + state.OrgX - 3, 0.01, f);
        run.publish();
        drawCurve(form, run, 0);
    }
    // One pass of "x^2+1", its row; returns the next x.
    double pass(double x) {
        const double fx = x * x + 1, dfx = 2 * x;
        run.setRow(run.rows().size(), {CellValue{x, 0}, CellValue{fx, 0}, CellValue{dfx, 0}});
        return x - fx / dfx;
    }
    // The rows written since the last time, published and drawn.
    void publish() {
        const long long from = run.publishedRows();
        run.publish();
        if (run.publishedRows() > from) drawRows(form, run, from, run.publishedRows() - 1);
    }

    // The run outlives the window that reads it.
    RunModel run;
    TypicalGraph typical;
    ProgramState& state = typical.state;
    FrmGraph& form = typical.form;
};

// The picture of a run of `passes` passes painted again at a new scale,
// zooming in and out by turns every `period` steps (whole: on screen a long
// run is painted in slices of a frame).
void zoomRedraw(benchmark::State& st, int passes, int period) {
    Graph g;
    g.clear(0);
    g.curve(0, [](double t) { return t * t + 1; });
    double x = 0.5;
    for (int i = 0; i < passes; ++i) x = g.pass(x);
    g.publish();
    PlotSurface& pic = g.form.picThree();
    benchmark::DoNotOptimize(pic.image().constBits());
    const QPointF centre(pic.width() / 2.0, pic.height() / 2.0);
    int i = 0;
    for (auto _ : st) {
        const double f =
            (i++ % (2 * period)) < period ? PlotSurface::kZoomStep : 1 / PlotSurface::kZoomStep;
        pic.zoomAt(centre, f, f);
        benchmark::DoNotOptimize(pic.image().constBits());
    }
}

void BM_ZoomRedraw55Passes(benchmark::State& st) {
    zoomRedraw(st, 55, 4);
}
BENCHMARK(BM_ZoomRedraw55Passes)->Unit(benchmark::kMillisecond)->MinTime(0.5);

void BM_ZoomRedrawMillion(benchmark::State& st) {
    zoomRedraw(st, 1000000, 2);
}
BENCHMARK(BM_ZoomRedrawMillion)->Unit(benchmark::kMillisecond)->Iterations(4);

double gLongRunS = -1;

void BM_GraphMillionPasses(benchmark::State& st) {
    constexpr int kPasses = 1000000;
    for (auto _ : st) {
        Graph g;
        g.clear(0);
        QElapsedTimer run, sinceRefresh;
        run.start();
        sinceRefresh.start();
        double x = 0.5;
        for (int i = 0; i < kPasses; ++i) {
            x = g.pass(x);
            if (sinceRefresh.elapsed() >= 16) {
                g.publish();
                benchmark::DoNotOptimize(g.form.picThree().image().constBits());
                sinceRefresh.restart();
            }
        }
        g.publish();
        benchmark::DoNotOptimize(g.form.picThree().image().constBits());
        gLongRunS = run.nsecsElapsed() / 1e9;
    }
}
BENCHMARK(BM_GraphMillionPasses)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_GraphCurve3200(benchmark::State& st) {
    TypicalGraph typical;
    ProgramState& state = typical.state;
    FrmGraph& graph = typical.form;
    const double x0 = 3;
    const double lo = x0 + 3 - state.OrgX, hi = x0 + state.OrgX - 3;
    for (auto _ : st) {
        state.OffX = state.OrgX - x0;
        graph.INZGraph(x0);
        gSegments = 0;
        for (double t = lo; t <= hi; t += 0.01) {
            graph.Line_C(t, t * t * t - 3 * t - 10);
            ++gSegments;
        }
        benchmark::DoNotOptimize(graph.picThree().image().constBits());
    }
    st.counters["segments"] = static_cast<double>(gSegments - 1);
}
BENCHMARK(BM_GraphCurve3200)->Unit(benchmark::kMillisecond)->MinTime(0.5);

// A step back or forward between two passes in the middle of a 55-pass run
// of "x^2+1" from 0.5: the drawing up to the pass, painted anew.
void BM_ReplayStep55(benchmark::State& st) {
    Graph g;
    g.clear(0.5);
    g.curve(0.5, [](double t) { return t * t + 1; });
    double x = 0.5;
    for (int i = 0; i < 55; ++i) x = g.pass(x);
    g.publish();
    PlotSurface& pic = g.form.picThree();
    for (int i = 0; i < 27; ++i) pic.stepReplay(-1);
    int step = -1;
    for (auto _ : st) {
        pic.stepReplay(step);
        step = -step;
        benchmark::DoNotOptimize(pic.image().constBits());
    }
}
BENCHMARK(BM_ReplayStep55)->Unit(benchmark::kMillisecond)->MinTime(0.5);

const SummaryLine kReplayLine(41,
                              [] { return millisecondsLine("replay step ms", "BM_ReplayStep55"); });

const SummaryLine kGraphLine(1, [] {
    const double ns = resultStartingWith("BM_GraphCurve3200");
    char buf[96];
    std::snprintf(buf, sizeof buf, "graph curve of %lld segments ms: %.3f", gSegments - 1,
                  ns / 1e6);
    return std::string(buf);
});

const SummaryLine kZoomLine(2, [] {
    return millisecondsLine("zoom redraw ms", "BM_ZoomRedraw55Passes");
});

const SummaryLine kZoomMillionLine(2, [] {
    return millisecondsLine("zoom redraw ms at 1e6", "BM_ZoomRedrawMillion");
});

const SummaryLine kMillionLine(3, [] {
    char buf[128];
    std::snprintf(buf, sizeof buf, "graph of 1000000 passes s: %.3f", gLongRunS);
    return std::string(buf);
});

}  // namespace
}  // namespace quorel::bench
