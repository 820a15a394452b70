// The curve of the latest calculation's f drawn again across a stretch of x,
// for a graph whose view or size has changed. The engine still holds that f:
// every translation clears the graph.
#pragma once

namespace quorel {

class Engine;
class FrmGraph;

// Samples f every 0.01 from `from` to `to` (more coarsely where that would
// take more than a few samples per pixel of a wide view) and hands each to
// Line_C; a sample f has no value at ends the piece drawn so far. Nothing is
// said of such samples; memory running out leaves the curve as far as drawn.
void sampleCurve(Engine& engine, FrmGraph& graph, double from, double to);

}  // namespace quorel
