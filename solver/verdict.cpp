#include "solver/verdict.h"

#include <algorithm>
#include <cmath>

namespace quorel {
namespace {

// Ratios of a steady linear run may differ by this much (rounding of the
// steps themselves).
constexpr double kSteadySpread = 0.05;
// Steps within this share of each other count as the same step.
constexpr double kSameStep = 0.01;

bool oppositeSign(double a, const std::optional<double>& b) {
    return b && ((a < 0 && *b > 0) || (a > 0 && *b < 0));
}

}  // namespace

Judgement judgeRoot(double x, double fx, std::optional<double> slope, std::span<const double> steps,
                    const std::function<std::optional<double>(double)>& f) {
    if (fx == 0.0) return {Verdict::Root, Evidence::ExactZero};
    if (steps.empty()) return {Verdict::NoRootShown, Evidence::NoPass};

    const double s = steps.back();
    auto changesWithin = [&](double d) {
        return d > 0 && std::isfinite(d) &&
               (oppositeSign(fx, f(x - d)) || oppositeSign(fx, f(x + d)));
    };
    if (slope && *slope != 0) {
        const double d = 2 * std::abs(fx / *slope);
        if (d < s && changesWithin(d)) return {Verdict::Root, Evidence::SignChange, 0.0, d};
    }
    if (changesWithin(s)) return {Verdict::Root, Evidence::SignChange, 0.0, s};

    const std::size_t n = steps.size();
    if (n >= 2) {
        const double before = steps[n - 2];
        if (s >= before * (1 + kSameStep)) return {Verdict::NoRootShown, Evidence::GrowingSteps};
        if (s >= before * (1 - kSameStep)) return {Verdict::NoRootShown, Evidence::SameSteps};
    }
    if (n >= 3 && steps[n - 3] > 0 && steps[n - 2] > 0) {
        const double r1 = steps[n - 2] / steps[n - 3];
        const double r2 = s / steps[n - 2];
        if (r1 < 1 && r2 <= r1 / 2) return {Verdict::Root, Evidence::Superlinear};
        // Steady: every ratio of the last steps close to the last one, none
        // creeping up toward 1.
        double lowest = r2, highest = r2;
        for (std::size_t i = 1; i < n; ++i) {
            if (steps[i - 1] <= 0) return {Verdict::NoRootShown, Evidence::Unsteady};
            const double r = steps[i] / steps[i - 1];
            lowest = std::min(lowest, r);
            highest = std::max(highest, r);
        }
        const bool creeping = r2 > r1 * (1 + kSameStep);
        if (highest < kSlowestRatio && highest - lowest <= kSteadySpread && !creeping)
            return {Verdict::SlowRoot, Evidence::SteadyRatio, r2, s * r2 / (1 - r2)};
    }
    return {Verdict::NoRootShown, Evidence::Unsteady};
}

}  // namespace quorel
