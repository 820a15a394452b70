// The run drawn on the graph: the curve from its samples, and for each row
// (a pass) the tangent from (X(i), f(X(i))) to where it crosses the x axis,
// X(i) - f(X(i)) / f'(X(i)), and the point's marker. The last row of a
// finished run is marked as its outcome says: the root marker only where the
// run shows a root. A point beyond the drawing is left out with its tangent,
// a tangent whose end cannot be computed or drawn is left out; the driver
// tells the user of them.
#pragma once

#include <QColor>
#include <functional>

namespace quorel {

class FrmGraph;
class RunModel;

inline constexpr double kPointRadius = 0.1;
inline constexpr double kRootRadius = 0.3;
// The previous run kept for comparison.
inline const QColor kPreviousColor(200, 200, 200);

// The samples from index `from` on, continuing the piece drawn so far.
void drawCurve(FrmGraph& graph, const RunModel& run, long long from);
// Rows `from` to `to`; the graph then counts to + 1 passes for a replay.
void drawRows(FrmGraph& graph, const RunModel& run, long long from, long long to);
// The rows the graph has been told of from row `from` on, up to pass
// `replayPass` with its tangent drawn over them in the replay's colour (every
// row when it is negative), in batches until timeUp(). Returns the row to go
// on from, or -1 when done.
long long drawRunRows(FrmGraph& graph, const RunModel& run, long long replayPass, long long from,
                      const std::function<bool()>& timeUp);
// The previous run kept for comparison: its tangents and markers in light
// grey, as they were drawn.
void drawPreviousRun(FrmGraph& graph, const RunModel& run);

}  // namespace quorel
