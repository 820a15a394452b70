#include "solver/basin_filler.h"

#include <QTimer>

#include "engine/engine.h"
#include "solver/basins.h"

namespace quorel {
namespace {

constexpr long long kPassesPerClockRead = 64;

}  // namespace

BasinFiller::BasinFiller(QObject* parent)
    : QObject(parent), engine_(std::make_unique<Engine>()), clock_(elapsedClock()) {}

BasinFiller::~BasinFiller() = default;

void BasinFiller::setRun(const std::string& fx, double tolerance, double loopLimit) {
    engine_->Fx_Postfix(fx);
    map_ = std::make_unique<BasinMap>(*engine_, tolerance, loopLimit);
}

void BasinFiller::cancel() {
    map_.reset();
}

void BasinFiller::request(const std::vector<double>& xs) {
    if (!map_) return;
    map_->start(xs);
    slice();
}

void BasinFiller::slice() {
    if (!map_) return;
    const long long begun = clock_();
    // The clock is read every few passes: a single start may take very many.
    while (map_->work(kPassesPerClockRead))
        if (clock_() - begun >= kSliceMs) break;
    emit pictureReady(map_->picture());
    if (map_->done() || scheduled_) return;
    scheduled_ = true;
    // Goes on with whatever picture is being filled by then.
    QTimer::singleShot(0, this, [this] {
        scheduled_ = false;
        slice();
    });
}

}  // namespace quorel
