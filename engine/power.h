// a^b as evaluation computes it.
//
// For a whole exponent b from 2 to 16 the result is a^b computed by
// repeated squaring (and multiplying by a where b's binary digits ask for
// it) in double-double: every product is carried as an unevaluated sum of two
// doubles, the exact rounding error of its leading part kept, and the sum is
// rounded once at the end. The result is within 0.5 ulp plus less than
// 2^-40 ulp of the exact power, at least as accurate as the maths library's
// pow. Where the product would leave the normal range of the double (|result|
// below 2^-960 or above 2^990), and for every other exponent, the result is
// std::pow(a, b). b = 2 gives a·a, the same value. The exact error is found
// with a fused multiply-add where the processor has one and by Dekker's
// product where it has not; it is the same number either way, so the result
// does not depend on the processor.
#pragma once

#include <cmath>

namespace quorel {

inline constexpr double kWholePowerLowest = 0x1p-960;  // below: the error may underflow
inline constexpr double kWholePowerHighest = 0x1p990;  // above: the splitting may overflow

inline bool isWholePowerExponent(double b) {
    return b >= 2.0 && b <= 16.0 && b == static_cast<double>(static_cast<int>(b));
}

// a^b for a whole b from 2 to 16.
double wholePower(double a, int b);

// The same without fused multiply-add: what wholePower computes on a
// processor that has none.
double wholePowerWithoutFma(double a, int b);

// a^b for any b (see above).
inline double power(double a, double b) {
    if (b == 2.0) return a * a;
    if (isWholePowerExponent(b)) return wholePower(a, static_cast<int>(b));
    return std::pow(a, b);
}

// The double-double power; exactError(u, v, p) is u·v - p exactly, for
// p = u·v rounded.
template <class ExactError>
[[gnu::always_inline]] inline double wholePowerWith(double a, int b, ExactError exactError) {
    double hi = a;
    double lo = 0.0;
    int digit = 1;
    while (digit * 2 <= b) digit *= 2;
    for (digit /= 2; digit > 0; digit /= 2) {
        // (hi + lo)^2, leaving out lo^2.
        double p = hi * hi;
        double e = exactError(hi, hi, p);
        double t = (hi + hi) * lo;
        lo = e + t;
        hi = p;
        if (b & digit) {
            p = hi * a;
            e = exactError(hi, a, p);
            t = lo * a;
            lo = e + t;
            hi = p;
        }
    }
    const double r = hi + lo;
    const double m = std::fabs(r);
    if (m >= kWholePowerLowest && m <= kWholePowerHighest) return r;
    return std::pow(a, static_cast<double>(b));
}

#if defined(__x86_64__) || defined(__i386__)
inline const bool kHasFma = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("fma") != 0;
}();

// wholePower on a processor with fused multiply-add; inlined into callers
// that are compiled for it.
__attribute__((target("fma"))) inline double wholePowerFma(double a, int b) {
    return wholePowerWith(
        a, b, [](double u, double v, double p) __attribute__((always_inline)) {
            return __builtin_fma(u, v, -p);
        });
}
#else
inline constexpr bool kHasFma = false;
#endif

}  // namespace quorel
