// The graph window at the size and plot of the program's start-up layout.
#pragma once

#include "common/program_state.h"
#include "graph/frm_graph.h"

namespace quorel::bench {

struct TypicalGraph {
    TypicalGraph() : form(state) {
        state.OrgFracX = state.OrgFracY = 0.5;
        state.GraphW = 39;
        state.GraphH = 90;
        state.OrgX = 19;
        state.OrgY = 45;
        form.resize(515, 572);
    }
    ProgramState state;
    FrmGraph form;
};

}  // namespace quorel::bench
