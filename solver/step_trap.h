// The calculation's failure rule in one place: a step that fails reports its
// failure number and the calculation goes on with the next step. What the
// user is shown of a failure passes a ShowOnce, so one kind of failure is
// told at most once in each phase of a calculation.
#pragma once

#include <functional>
#include <utility>

#include "common/failure.h"

namespace quorel {

// Remembers which kinds of failure were told in the current phase.
class ShowOnce {
  public:
    // True the first time `kind` comes in the current phase.
    bool first(int kind) {
        for (int i = 0; i < count_; ++i) {
            if (seen_[i] == kind) return false;
        }
        if (count_ < kKinds) seen_[count_++] = kind;
        return true;
    }
    // A new phase: every kind may be told once more.
    void nextPhase() { count_ = 0; }

  private:
    static constexpr int kKinds = 16;
    int seen_[kKinds] = {};
    int count_ = 0;
};

class StepTrap {
  public:
    using Report = std::function<void(int)>;

    explicit StepTrap(Report report) : report_(std::move(report)) {}

    // Runs one step. Returns true when it completed; false when it failed,
    // after its failure number was reported. Whatever the step had not yet
    // assigned keeps its previous value.
    template <class Step>
    bool operator()(Step&& step) {
        return run(std::forward<Step>(step), report_);
    }
    // The same with a report of its own for this step.
    template <class Step>
    bool operator()(Step&& step, const Report& report) {
        return run(std::forward<Step>(step), report);
    }

    // Number of the last step's failure; 0 when it completed.
    int failure() const { return failure_; }

  private:
    template <class Step>
    bool run(Step&& step, const Report& report) {
        try {
            std::forward<Step>(step)();
            failure_ = 0;
            return true;
        } catch (const Failure& f) {
            failure_ = f.number();
            report(failure_);
            return false;
        }
    }

    Report report_;
    int failure_ = 0;
};

}  // namespace quorel
