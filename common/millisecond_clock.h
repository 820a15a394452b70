// The clock that paces long work (frames, slices): milliseconds from any fixed
// start. Tests hand in a clock of their own.
#pragma once

#include <QElapsedTimer>
#include <functional>
#include <memory>

namespace quorel {

using MillisecondClock = std::function<long long()>;

// Milliseconds since this clock was made.
inline MillisecondClock elapsedClock() {
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    return [timer] { return timer->elapsed(); };
}

}  // namespace quorel
