#include "engine/power.h"

namespace quorel {
namespace {

// Veltkamp's split: v = high + low, each with at most 26 significant bits.
void split(double v, double& high, double& low) {
    const double t = 134217729.0 * v;  // 2^27 + 1
    high = t - (t - v);
    low = v - high;
}

// Dekker's product: u·v - p exactly, without fused multiply-add.
double dekkerError(double u, double v, double p) {
    double uh, ul, vh, vl;
    split(u, uh, ul);
    split(v, vh, vl);
    return ((uh * vh - p) + uh * vl + ul * vh) + ul * vl;
}

}  // namespace

double wholePower(double a, int b) {
#if defined(__x86_64__) || defined(__i386__)
    if (kHasFma) return wholePowerFma(a, b);
#endif
    return wholePowerWithoutFma(a, b);
}

double wholePowerWithoutFma(double a, int b) {
    return wholePowerWith(a, b, dekkerError);
}

}  // namespace quorel
