#include "solver/graph_description.h"

#include "common/numtext.h"
#include "graph/frm_graph.h"

namespace quorel {

void describeGraph(FrmGraph& graph, const std::string& function, double centre,
                   const std::string& outcome) {
    std::string text = "No calculation yet.";
    if (!function.empty()) {
        text = "Graph of f(x)=" + function + ", centre (" + numberToText(centre) + ",0).";
        if (!outcome.empty()) text += " " + outcome;
    }
    graph.picThree().setAccessibleName("graph");
    graph.picThree().setAccessibleDescription(QString::fromStdString(text));
}

}  // namespace quorel
