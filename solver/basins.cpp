#include "solver/basins.h"

#include <algorithm>
#include <cmath>

#include "common/numtext.h"

namespace quorel {
namespace {

// Ends within this many last steps of a root, or this share of its size,
// reach the same root.
constexpr double kSameRootSteps = 4.0;
constexpr double kSameRootShare = 1e-6;

const char* kindName(BasinKind kind) {
    switch (kind) {
        case BasinKind::Root:
            return "root";
        case BasinKind::LoopLimit:
            return "loop limit";
        case BasinKind::NoRootShown:
            return "no root shown";
        case BasinKind::SlowRoot:
            return "converging slowly, no root shown";
        case BasinKind::ZeroSlope:
            return "zero slope";
        case BasinKind::Uncomputable:
            return "not computable";
    }
    return "";
}

// A root written with the decimals its reach resolves ("root -1").
std::string rootName(double x, double reach) {
    const double d = std::ceil(-std::log10(reach));
    const int decimals = std::isfinite(d) ? static_cast<int>(std::clamp(d, 0.0, 15.0)) : 15;
    return std::string("root ") + numberToText(roundHalfEven(x, decimals) + 0.0);
}

}  // namespace

StartRun::StartRun(TangentStep& step, double x0) : step_(step), x_(x0) {
    step_.startRun();
}

StartEnd StartRun::end(BasinKind kind) const {
    return {kind, x_, step_.steps().empty() ? 0.0 : step_.steps().back()};
}

std::optional<StartEnd> StartRun::advance(long long passes) {
    for (long long made = 0; made < passes; ++made) {
        const Attempt fx = step_.f(x_);
        if (!fx.ok()) return end(BasinKind::Uncomputable);
        if (!step_.passGoesOn(fx.value, passes_)) {
            if (!step_.withinError(fx.value)) return end(BasinKind::LoopLimit);
            switch (step_.judge(x_, fx.value, step_.slope(x_).valueIfOk()).verdict) {
                case Verdict::Root:
                    return end(BasinKind::Root);
                case Verdict::SlowRoot:
                    return end(BasinKind::SlowRoot);
                default:
                    return end(BasinKind::NoRootShown);
            }
        }
        const auto [dfx, next] = step_.slopeAndNext(x_, fx.value);
        if (!next.ok())
            return end(TangentStep::zeroSlope(dfx) ? BasinKind::ZeroSlope
                                                   : BasinKind::Uncomputable);
        step_.noteStep(x_, next.value);
        ++passes_;
        x_ = next.value;
    }
    return std::nullopt;
}

BasinMap::BasinMap(Engine& engine, double tolerance, double loopLimit)
    : step_(engine, tolerance, loopLimit) {}

void BasinMap::start(std::vector<double> xs) {
    picture_.columns.assign(xs.size(), BasinPicture::kPending);
    picture_.xs = std::move(xs);
    picture_.legend.clear();
    reach_.clear();
    next_ = 0;
    run_.reset();
}

bool BasinMap::work(long long passes) {
    if (done()) return false;
    if (!run_) run_.emplace(step_, picture_.xs[next_]);
    if (const auto end = run_->advance(passes)) {
        run_.reset();
        picture_.columns[next_] = entryFor(*end);
        ++next_;
    }
    return !done();
}

int BasinMap::entryFor(const StartEnd& end) {
    auto& legend = picture_.legend;
    if (end.kind != BasinKind::Root) {
        for (std::size_t i = 0; i < legend.size(); ++i)
            if (legend[i].kind == end.kind) return static_cast<int>(i);
        legend.push_back({end.kind, -1, 0.0, kindName(end.kind)});
        reach_.push_back(0.0);
        return static_cast<int>(legend.size() - 1);
    }
    const double reach =
        std::max(kSameRootSteps * end.lastStep, kSameRootShare * std::max(1.0, std::abs(end.x)));
    int roots = 0;
    for (std::size_t i = 0; i < legend.size(); ++i) {
        if (legend[i].kind != BasinKind::Root) continue;
        ++roots;
        if (std::abs(end.x - legend[i].root) <= std::max(reach, reach_[i]))
            return static_cast<int>(i);
    }
    legend.push_back({BasinKind::Root, roots, end.x, rootName(end.x, reach)});
    reach_.push_back(reach);
    return static_cast<int>(legend.size() - 1);
}

}  // namespace quorel
