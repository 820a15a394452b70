#include "solver/graph_description.h"

#include "common/numtext.h"
#include "graph/frm_graph.h"
#include "run/run_model.h"

namespace quorel {

void describeGraph(FrmGraph& graph, const RunModel& run) {
    std::string text = "No calculation yet.";
    if (!run.function().empty()) {
        text =
            "Graph of f(x)=" + run.function() + ", centre (" + numberToText(run.center()) + ",0).";
        const std::string outcome = outcomeText(run.outcome());
        if (!outcome.empty()) text += " " + outcome;
    }
    graph.picThree().setAccessibleName("graph");
    graph.picThree().setAccessibleDescription(QString::fromStdString(text));
}

}  // namespace quorel
