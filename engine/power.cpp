#include "engine/power.h"

namespace quorel {
namespace {

constexpr double kLowest = 0x1p-960;  // below: the error may underflow
constexpr double kHighest = 0x1p990;  // above: the splitting may overflow

// Veltkamp's split: v = high + low, each with at most 26 significant bits.
void split(double v, double& high, double& low) {
    const double t = 134217729.0 * v;  // 2^27 + 1
    high = t - (t - v);
    low = v - high;
}

// Dekker's product: u·v - p exactly, for p = u·v rounded.
double exactError(double u, double v, double p) {
    double uh, ul, vh, vl;
    split(u, uh, ul);
    split(v, vh, vl);
    return ((uh * vh - p) + uh * vl + ul * vh) + ul * vl;
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
