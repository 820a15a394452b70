#include "solver/curve_sampling.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "common/failure.h"
#include "engine/engine.h"
#include "graph/frm_graph.h"

namespace quorel {
namespace {

constexpr double kStep = 0.01;
constexpr double kMostSamples = 200000;

}  // namespace

void sampleCurve(Engine& engine, FrmGraph& graph, double from, double to) {
    if (!(from <= to) || !std::isfinite(to - from)) return;
    const double step = std::max(kStep, (to - from) / kMostSamples);
    graph.endCurvePiece();
    try {
        for (double t = from; t <= to; t += step) {
            try {
                graph.Line_C(t, engine.Fx_Eval(t));
            } catch (const Failure&) {
                graph.endCurvePiece();
            }
            if (t + step == t) break;  // too far out for the steps to advance
        }
    } catch (const std::bad_alloc&) {
    }
    graph.endCurvePiece();
}

}  // namespace quorel
