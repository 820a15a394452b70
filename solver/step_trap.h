// The calculation's failure rule in one place: a step that fails reports its
// failure number and the calculation goes on with the next step.
#pragma once

#include <functional>
#include <utility>

#include "common/failure.h"

namespace quorel {

class StepTrap {
  public:
    explicit StepTrap(std::function<void(int)> report) : report_(std::move(report)) {}

    // Runs one step. Returns true when it completed; false when it failed,
    // after its failure number was reported. Whatever the step had not yet
    // assigned keeps its previous value.
    template <class Step>
    bool operator()(Step&& step) {
        try {
            std::forward<Step>(step)();
            return true;
        } catch (const Failure& f) {
            report_(f.number());
            return false;
        }
    }

  private:
    std::function<void(int)> report_;
};

}  // namespace quorel
