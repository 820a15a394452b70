// What assistive technology reads for the graph surface: the function drawn,
// the centre of the plot and how the last calculation ended.
#pragma once

#include <string>

namespace quorel {

class FrmGraph;

// An empty function: nothing has been calculated yet.
void describeGraph(FrmGraph& graph, const std::string& function, double centre,
                   const std::string& outcome);

}  // namespace quorel
