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

inline double checkedSub(double a, double b) {
    return finiteOr6(a - b);
}
inline double checkedMul(double a, double b) {
    return finiteOr6(a * b);
}

// The failure of a / b when the quotient is not finite: 0/0 is an overflow,
// any other number divided by 0 a division by zero.
inline int divisionFailure(double a, double b) {
    return b == 0.0 && a != 0.0 ? kErrDivZero : kErrOverflow;
}

inline double checkedDiv(double a, double b) {
    const double r = a / b;
    if (!std::isfinite(r)) throwFailure(divisionFailure(a, b));
    return r;
}

}  // namespace quorel
