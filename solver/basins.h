// Where the tangent-line iteration goes from each of many starts, as the
// basin strip shows it: every start runs as a calculation would (the same
// f, error, loop limit, slope and stopping rules, through TangentStep) and
// ends in a root, only when the verdict shows one, or in one of the ways of
// showing none. Roots within a few last steps (or a relative 1e-6) of each
// other are one root. Pure C++.
#pragma once

#include <optional>
#include <vector>

#include "graph/basin_picture.h"
#include "solver/tangent_step.h"

namespace quorel {

struct StartEnd {
    BasinKind kind = BasinKind::Uncomputable;
    double x = 0.0;         // the last X
    double lastStep = 0.0;  // the last step |X(i+1) - X(i)|, 0 with no pass
};

// One run from a start, as a calculation with `step`'s rules runs it, made
// a few passes at a time.
class StartRun {
  public:
    StartRun(TangentStep& step, double x0);
    // Makes at most `passes` more passes; the end once the run has ended.
    std::optional<StartEnd> advance(long long passes);

  private:
    StartEnd end(BasinKind kind) const;

    TangentStep& step_;
    double x_;
    long long passes_ = 0;
};

// The strip's picture for a row of starts, filled one start at a time.
class BasinMap {
  public:
    BasinMap(Engine& engine, double tolerance, double loopLimit);

    // Begins a picture of these starts, every column pending.
    void start(std::vector<double> xs);
    // Goes on with the columns for at most about `passes` passes; false
    // when none is left.
    bool work(long long passes);
    bool done() const { return next_ >= picture_.xs.size(); }
    const BasinPicture& picture() const { return picture_; }

  private:
    int entryFor(const StartEnd& end);

    TangentStep step_;
    BasinPicture picture_;
    std::size_t next_ = 0;
    std::optional<StartRun> run_;  // of column next_, once begun
    // Per root entry: how near another end must lie to be the same root.
    std::vector<double> reach_;
};

}  // namespace quorel
