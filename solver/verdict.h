// What a run that stopped with |f(X)| within the error shows about a root
// near its last X. The run stops on |f(X)| alone; a small f(X) is not yet a
// root (exp(-x) is small far out, x^2 is small well away from its root), so
// the verdict asks the run for evidence:
// - f(X) is exactly 0;
// - f takes opposite signs at X - d or X + d, d twice the next step
//   |f(X) / f'(X)| (a tight bound near a simple root) or else the last step;
// - the steps shrank faster than linearly (each ratio of step to step at
//   most half the one before, with the last below 1);
// - or, weaker, the steps shrank by a steady ratio r below kSlowestRatio, as
//   near a multiple root: the root then lies about s * r / (1 - r) away
//   (s the last step).
// Anything else, and a run that made no pass, is no evidence.
#pragma once

#include <functional>
#include <optional>
#include <span>

#include "run/outcome.h"

namespace quorel {

// A steady ratio nearer 1 than this is no evidence: such steps may add up to
// no finite distance.
inline constexpr double kSlowestRatio = 0.95;

// `slope` is f'(X) when it could be computed; `steps` are the last steps
// |X(i+1) - X(i)|, oldest first; `f` gives f at a point, or nothing where it
// cannot be computed.
Judgement judgeRoot(double x, double fx, std::optional<double> slope, std::span<const double> steps,
                    const std::function<std::optional<double>(double)>& f);

}  // namespace quorel
