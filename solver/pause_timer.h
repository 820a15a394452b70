// The pause dialog's timer: once started it ticks every interval until it is
// stopped; starting it again counts the interval afresh. The program runs it
// on a QTimer; tests drive one of their own by hand.
#pragma once

#include <QTimer>
#include <functional>

namespace quorel {

class PauseTimer {
  public:
    virtual ~PauseTimer() = default;
    virtual void start(int intervalMs) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
    virtual int interval() const = 0;

    std::function<void()> onTick;
};

class QtPauseTimer : public PauseTimer {
  public:
    QtPauseTimer() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (onTick) onTick();
        });
    }
    void start(int intervalMs) override { timer_.start(intervalMs); }
    void stop() override { timer_.stop(); }
    bool isActive() const override { return timer_.isActive(); }
    int interval() const override { return timer_.interval(); }

  private:
    QTimer timer_;
};

}  // namespace quorel
