// Drawing coordinates are single precision: a value is converted as given, and
// one whose magnitude lies beyond the single-precision range is an overflow.
#pragma once

#include <cfloat>
#include <cmath>

#include "common/failure.h"

namespace quorel {

inline double toSingle(double v) {
    if (!(std::fabs(v) <= FLT_MAX)) throw Failure(kErrOverflow);
    return static_cast<double>(static_cast<float>(v));
}

}  // namespace quorel
