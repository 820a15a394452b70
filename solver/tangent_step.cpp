#include "solver/tangent_step.h"

#include <cmath>

#include "common/checked_math.h"
#include "engine/engine.h"

namespace quorel {
namespace {

constexpr std::size_t kStepsKept = 4;

}  // namespace

Attempt TangentStep::f(double x) const {
    return attempt([&] { return engine_.Fx_Eval(x); });
}

Attempt TangentStep::slope(double x) const {
    return attempt([&] { return engine_.Fx_Diff(x); });
}

std::pair<Attempt, Attempt> TangentStep::slopeAndNext(double x, double fx) const {
    const Attempt dfx = slope(x);
    const Attempt next =
        !dfx.ok() ? dfx : attempt([&] { return checkedSub(x, checkedDiv(fx, dfx.value)); });
    return {dfx, next};
}

void TangentStep::noteStep(double x, double next) {
    if (steps_.size() == kStepsKept) steps_.erase(steps_.begin());
    steps_.push_back(std::abs(next - x));
}

Judgement TangentStep::judge(double x, double fx, std::optional<double> slope) const {
    return judgeRoot(x, fx, slope, steps_,
                     [&](double t) -> std::optional<double> { return f(t).valueIfOk(); });
}

}  // namespace quorel
