#include "engine/power.h"

namespace quorel {
namespace {

constexpr double kLowest = 0x1p-960;  // below: the error may underflow
constexpr double kHighest = 0x1p990;  // above: the splitting may overflow

// u·v - p exactly, for p = u·v rounded: the fused multiply-add rounds only
// once, and the error of a product is always a double.
double exactError(double u, double v, double p) {
    return std::fma(u, v, -p);
}

}  // namespace

double wholePower(double a, int b) {
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
    if (m >= kLowest && m <= kHighest) return r;
    return std::pow(a, static_cast<double>(b));
}

}  // namespace quorel
