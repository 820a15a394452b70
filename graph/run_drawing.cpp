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
const QColor kTangentColor(255, 0, 0);

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

namespace {

// One row's tangent and marker, in `tangent` and `marker` colours; neither
// where its point lies beyond the drawing.
void drawRow(FrmGraph& graph, const std::array<CellValue, 3>& row, double radius,
             const QColor& tangent, const QColor& marker) {
    const CellValue x = row[0], fx = row[1], dfx = row[2];
    if (x.failure != 0 || fx.failure != 0) return;
    const ProgramState& st = graph.state();
    PlotSurface& pic = graph.picThree();
    try {
        const double px = toSingle(x.value + st.OffX);
        const double py = toSingle(fx.value + st.OrgY);
        if (dfx.failure == 0) {
            try {
                const double next = checkedSub(x.value, checkedDiv(fx.value, dfx.value));
                pic.Line(x.value + st.OffX, fx.value + st.OrgY, next + st.OffX, 0.0 + st.OrgY,
                         tangent);
            } catch (const Failure&) {
            }
        }
        if (radius > 0) pic.Circle(px, py, radius, marker);
    } catch (const Failure&) {
    }
}

std::array<CellValue, 3> rowOf(const RowStore& rows, long long r) {
    return {rows.at(r, 0), rows.at(r, 1), rows.at(r, 2)};
}

}  // namespace

void drawRows(FrmGraph& graph, const RunModel& run, long long from, long long to) {
    const RowStore& rows = run.rows();
    PlotSurface& pic = graph.picThree();
    const long long last = rows.size() - 1;
    for (long long r = from; r <= to; ++r) {
        const double radius = r == last ? lastMarker(run.outcome()) : kPointRadius;
        drawRow(graph, rowOf(rows, r), radius, kTangentColor, kMarkerColor);
    }
    pic.setPassCount(std::max(pic.passCount(), to + 1));
}

long long drawRunRows(FrmGraph& graph, const RunModel& run, long long replayPass, long long from,
                      const std::function<bool()>& timeUp) {
    constexpr long long kBatch = 4096;
    const long long shown = run.publishedRows();
    const long long to = replayPass < 0 ? shown - 1 : std::min(replayPass, shown - 1);
    for (long long r = from; r <= to; r += kBatch) {
        if (r > from && timeUp()) return r;
        drawRows(graph, run, r, std::min(to, r + kBatch - 1));
    }
    if (replayPass < 0 || replayPass >= shown) return -1;
    // The replayed pass's tangent, wide, over the rest.
    PlotSurface& pic = graph.picThree();
    pic.setLineWidth(PlotSurface::kReplayWidth);
    drawRow(graph, rowOf(run.rows(), replayPass), 0, PlotSurface::kReplayColour,
            PlotSurface::kReplayColour);
    pic.setLineWidth(1);
    return -1;
}

void drawPreviousRun(FrmGraph& graph, const RunModel& run) {
    const RowStore& rows = run.previousRows();
    const long long last = rows.size() - 1;
    for (long long r = 0; r <= last; ++r) {
        const double radius = r == last ? lastMarker(run.previousOutcome()) : kPointRadius;
        drawRow(graph, rowOf(rows, r), radius, kPreviousColor, kPreviousColor);
    }
}

}  // namespace quorel
