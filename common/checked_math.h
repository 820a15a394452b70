// Double arithmetic that raises the program's numbered failures instead of
// producing infinities or NaNs: every result is finite or a Failure is thrown.
#pragma once

#include <cmath>

#include "common/failure.h"

namespace quorel {

[[noreturn]] void throwFailure(int number);

inline double finiteOr6(double r) {
    if (!std::isfinite(r)) throwFailure(kErrOverflow);
    return r;
}

inline double checkedAdd(double a, double b) {
    return finiteOr6(a + b);
}
inline double checkedSub(double a, double b) {
    return finiteOr6(a - b);
}
inline double checkedMul(double a, double b) {
    return finiteOr6(a * b);
}

// a / b: 0/0 is an overflow (6), any other number divided by 0 is failure 11.
inline double checkedDiv(double a, double b) {
    if (b == 0.0) throwFailure(a == 0.0 ? kErrOverflow : kErrDivZero);
    return finiteOr6(a / b);
}

}  // namespace quorel
