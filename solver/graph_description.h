// What assistive technology reads for the graph surface: the function drawn,
// the centre of the plot and how the last calculation ended.
#pragma once

namespace quorel {

class FrmGraph;
class RunModel;

// Before any calculation: "No calculation yet."
void describeGraph(FrmGraph& graph, const RunModel& run);

}  // namespace quorel
