#include "graph/run_drawing.h"

#include <algorithm>

#include "common/checked_math.h"
#include "common/failure.h"
#include "graph/frm_graph.h"
#include "graph/single_precision.h"
#include "run/run_model.h"

namespace quorel {
namespace {

const QColor kMarkerColor(0, 255, 8);

// The marker of the last row of a finished run; 0 for none.
double lastMarker(const Outcome& o) {
    switch (o.ending) {
        case Ending::None:  // still running: the row is a finished pass
        case Ending::ZeroSlope:
        case Ending::Uncomputable:
        case Ending::OutOfMemory:
            return kPointRadius;
        case Ending::WithinError:
            return o.isRoot() ? kRootRadius : kPointRadius;
        default:
            return 0.0;
    }
}

}  // namespace

void drawCurve(FrmGraph& graph, const RunModel& run, long long from) {
    const auto& samples = run.curve();
    if (from == 0) graph.endCurvePiece();
    for (auto i = static_cast<std::size_t>(from); i < samples.size(); ++i) {
        const CurveSample& s = samples[i];
        if (s.ok)
            graph.Line_C(s.x, s.y);
        else
            graph.endCurvePiece();
    }
}

void drawRows(FrmGraph& graph, const RunModel& run, long long from, long long to) {
    const RowStore& rows = run.rows();
    const ProgramState& st = graph.state();
    PlotSurface& pic = graph.picThree();
    const long long last = rows.size() - 1;
    for (long long r = from; r <= to; ++r) {
        const CellValue x = rows.at(r, 0), fx = rows.at(r, 1), dfx = rows.at(r, 2);
        const double radius = r == last ? lastMarker(run.outcome()) : kPointRadius;
        if (x.failure == 0 && fx.failure == 0) {
            try {
                const double px = toSingle(x.value + st.OffX);
                const double py = toSingle(fx.value + st.OrgY);
                if (dfx.failure == 0) {
                    try {
                        const double next = checkedSub(x.value, checkedDiv(fx.value, dfx.value));
                        graph.Line_A(x.value, fx.value, next, 0.0, [](int) {});
                    } catch (const Failure&) {
                    }
                }
                if (radius > 0) pic.Circle(px, py, radius, kMarkerColor);
            } catch (const Failure&) {
            }
        }
    }
    pic.setPassCount(std::max(pic.passCount(), to + 1));
}

void drawRun(FrmGraph& graph, const RunModel& run, long long replayPass) {
    drawCurve(graph, run, 0);
    const long long shown = run.publishedRows();
    const long long to = replayPass < 0 ? shown - 1 : std::min(replayPass, shown - 1);
    if (to >= 0) drawRows(graph, run, 0, to);
    if (replayPass < 0 || replayPass >= shown) return;
    const RowStore& rows = run.rows();
    const CellValue x = rows.at(replayPass, 0), fx = rows.at(replayPass, 1),
                    dfx = rows.at(replayPass, 2);
    if (x.failure != 0 || fx.failure != 0 || dfx.failure != 0) return;
    const ProgramState& st = graph.state();
    PlotSurface& pic = graph.picThree();
    try {
        const double next = checkedSub(x.value, checkedDiv(fx.value, dfx.value));
        pic.setLineWidth(PlotSurface::kReplayWidth);
        pic.Line(x.value + st.OffX, fx.value + st.OrgY, next + st.OffX, st.OrgY,
                 PlotSurface::kReplayColour);
    } catch (const Failure&) {
    }
    pic.setLineWidth(1);
}

}  // namespace quorel
