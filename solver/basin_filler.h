// Works out the basin strip's picture for the latest calculation's f, error
// and loop limit, a slice of at most one frame at a time: the first slice at
// once, the rest from the event loop, so that input is never held up for
// longer than a frame. Each slice hands on the picture so far.
#pragma once

#include <QObject>
#include <memory>
#include <string>
#include <vector>

#include "common/millisecond_clock.h"
#include "graph/basin_picture.h"

namespace quorel {

class BasinMap;
class Engine;

class BasinFiller : public QObject {
    Q_OBJECT
  public:
    // Milliseconds of work per slice.
    static constexpr long long kSliceMs = 12;

    explicit BasinFiller(QObject* parent = nullptr);
    ~BasinFiller() override;

    // The run whose starts the strip shows; a picture being filled is dropped.
    void setRun(const std::string& fx, double tolerance, double loopLimit);
    bool hasRun() const { return map_ != nullptr; }
    // Drops the run and its picture (a new calculation starts).
    void cancel();
    // Starts the picture of these starts (the first slice runs at once).
    void request(const std::vector<double>& xs);
    bool filling() const { return scheduled_; }

    void setClock(MillisecondClock clock) { clock_ = std::move(clock); }

  signals:
    void pictureReady(const BasinPicture& picture);

  private:
    void slice();

    // The strip's own engine: its translation is the calculation's own.
    std::unique_ptr<Engine> engine_;
    std::unique_ptr<BasinMap> map_;
    MillisecondClock clock_;
    bool scheduled_ = false;
};

}  // namespace quorel
