#include "run/run_model.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "common/failure.h"

namespace quorel {
namespace {

constexpr double kStep = 0.01;
constexpr double kMostSamples = 200000;

}  // namespace

RunModel::RunModel(QObject* parent) : QObject(parent) {}
RunModel::~RunModel() = default;

void RunModel::clear(double center, bool startsRun) {
    if (startsRun && keepPrevious_ && rows_.size() > 0) {
        previousRows_.swap(rows_);
        previousOutcome_ = outcome_;
    } else if (!startsRun || !keepPrevious_) {
        previousRows_.clear();
        previousOutcome_ = Outcome{};
    }
    center_ = center;
    source_ = nullptr;
    std::vector<CurveSample>().swap(curve_);
    rows_.clear();
    outcome_ = Outcome{};
    publishedCurve_ = 0;
    publishedRows_ = 0;
    emit cleared(center);
}

void RunModel::setKeepPrevious(bool keep) {
    keepPrevious_ = keep;
    if (keep) return;
    previousRows_.clear();
    previousOutcome_ = Outcome{};
}

void RunModel::setOutcome(Outcome outcome) {
    outcome_ = std::move(outcome);
    emit outcomeChanged();
}

void RunModel::publish() {
    if (curve_.size() > publishedCurve_) {
        const auto from = static_cast<long long>(publishedCurve_);
        publishedCurve_ = curve_.size();
        emit curveAdded(from);
    }
    if (rows_.size() > publishedRows_) {
        const long long from = publishedRows_;
        publishedRows_ = rows_.size();
        emit rowsAdded(from, publishedRows_ - 1);
    }
}

void RunModel::sampleCurve(double from, double to, double step,
                           const std::function<double(double)>& f,
                           const std::function<void(int failure, double t)>& failed) {
    for (double t = from; t <= to; t += step) {
        try {
            curve_.push_back({t, f(t), true});
        } catch (const Failure& e) {
            curve_.push_back({t, 0.0, false});
            if (failed) failed(e.number(), t);
        }
        if (t + step == t) break;  // too far out for the steps to advance
    }
}

void RunModel::resampleCurve(double from, double to) {
    if (!source_ || !(from <= to) || !std::isfinite(to - from)) return;
    curve_.clear();
    try {
        sampleCurve(from, to, std::max(kStep, (to - from) / kMostSamples), source_);
    } catch (const std::bad_alloc&) {
    }
    publishedCurve_ = curve_.size();
    emit curveResampled();
}

}  // namespace quorel
