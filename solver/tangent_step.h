// The rules of the tangent-line iteration, shared by a calculation (which
// also lists and draws every pass) and the basin strip (which only asks
// where each start ends): when a pass is made, the slope and the next X with
// their failures, the steps kept for the verdict, and the verdict itself.
// Pure C++: the engine evaluates f and f'.
#pragma once

#include <cmath>
#include <optional>
#include <utility>
#include <vector>

#include "common/failure.h"
#include "solver/verdict.h"

namespace quorel {

class Engine;

// A value of the iteration, or the failure that kept it from being computed.
struct Attempt {
    double value = 0.0;
    int failure = 0;
    bool ok() const { return failure == 0; }
    std::optional<double> valueIfOk() const {
        return ok() ? std::optional<double>(value) : std::nullopt;
    }
};

template <class F>
Attempt attempt(F&& f) {
    try {
        return {f(), 0};
    } catch (const Failure& e) {
        return {0.0, e.number()};
    }
}

class TangentStep {
  public:
    TangentStep(Engine& engine, double tolerance, double loopLimit)
        : engine_(engine), tolerance_(tolerance), loopLimit_(loopLimit) {}

    Attempt f(double x) const;
    Attempt slope(double x) const;
    // The loop test before a pass: |f(X)| above the error and the loop limit
    // not reached after `passes` passes.
    bool passGoesOn(double fx, long long passes) const {
        return std::abs(fx) > tolerance_ && static_cast<double>(passes) < loopLimit_;
    }
    bool withinError(double fx) const { return std::abs(fx) <= tolerance_; }
    // The slope at x, then the next X from it (the slope's failure when it
    // has none).
    std::pair<Attempt, Attempt> slopeAndNext(double x, double fx) const;
    // A next X that cannot be computed because the slope is exactly 0.
    static bool zeroSlope(const Attempt& dfx) { return dfx.ok() && dfx.value == 0.0; }

    // The steps |X(i+1) - X(i)| of one run, the last few kept for the verdict.
    void startRun() { steps_.clear(); }
    void noteStep(double x, double next);
    const std::vector<double>& steps() const { return steps_; }
    // The verdict on a run that stopped within the error at x, with the
    // slope there when it could be computed.
    Judgement judge(double x, double fx, std::optional<double> slope) const;

  private:
    Engine& engine_;
    double tolerance_;
    double loopLimit_;
    std::vector<double> steps_;
};

}  // namespace quorel
