// What the basin strip shows, as plain data: for each pixel column of the
// view, which entry of the legend a run started at that column's x ends in.
// Made by the solver, shown by the graph; no Qt.
#pragma once

#include <string>
#include <vector>

namespace quorel {

// How a run from one start ends, as the strip tells it apart: a root, or one
// of the ways of showing none (in grey).
enum class BasinKind { Root, LoopLimit, NoRootShown, SlowRoot, ZeroSlope, Uncomputable };

struct BasinEntry {
    BasinKind kind = BasinKind::Root;
    // The colour of a root: 0 for the first root found, 1 for the next, ...
    int rootIndex = -1;
    double root = 0.0;
    std::string name;  // "root -1", "loop limit", ...
};

struct BasinPicture {
    // The world x of each column, left to right.
    std::vector<double> xs;
    // The legend entry of each column; kPending while it is being worked out.
    std::vector<int> columns;
    std::vector<BasinEntry> legend;
    static constexpr int kPending = -1;

    bool complete() const {
        for (int c : columns)
            if (c == kPending) return false;
        return true;
    }
};

}  // namespace quorel
