// A pause timer that moves only when the test says how much time has passed.
#pragma once

#include "solver/pause_timer.h"

namespace quorel::testing {

class ManualTimer : public PauseTimer {
  public:
    void start(int intervalMs) override {
        interval_ = intervalMs;
        active_ = intervalMs > 0;
        elapsed_ = 0;
    }
    void stop() override { active_ = false; }
    bool isActive() const override { return active_; }
    int interval() const override { return interval_; }

    // Moves time on by ms, ticking at every whole interval since the start.
    void advance(int ms) {
        while (active_ && elapsed_ + ms >= interval_) {
            ms -= interval_ - elapsed_;
            elapsed_ = 0;
            if (onTick) onTick();
        }
        if (active_) elapsed_ += ms;
    }

  private:
    int interval_ = 0;
    int elapsed_ = 0;
    bool active_ = false;
};

}  // namespace quorel::testing
