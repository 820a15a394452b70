// a^b as evaluation computes it.
//
// For a whole exponent b from 2 to 16 the result is a^b computed by
// repeated squaring (and multiplying by a where b's binary digits ask for
// it) in double-double: every product is carried as an unevaluated sum of two
// doubles, its exact rounding error found by a fused multiply-add, and the sum is
// rounded once at the end. The result is within 0.5 ulp plus less than
// 2^-40 ulp of the exact power, at least as accurate as the maths library's
// pow. Where the product would leave the normal range of the double (|result|
// below 2^-960 or above 2^990), and for every other exponent, the result is
// std::pow(a, b). b = 2 gives a·a, the same value.
#pragma once

#include <cmath>

namespace quorel {

inline bool isWholePowerExponent(double b) {
    return b >= 2.0 && b <= 16.0 && b == static_cast<double>(static_cast<int>(b));
}

// a^b for a whole b from 2 to 16.
double wholePower(double a, int b);

// a^b for any b (see above).
inline double power(double a, double b) {
    if (b == 2.0) return a * a;
    if (isWholePowerExponent(b)) return wholePower(a, static_cast<int>(b));
    return std::pow(a, b);
}

}  // namespace quorel
