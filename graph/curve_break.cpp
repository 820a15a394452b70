#include "graph/curve_break.h"

#include <cmath>

namespace quorel {

bool joinsSamples(const CurveSamples& s, double bottom, double top) {
    const double a = s.from, b = s.to;
    const bool acrossThePlot = (a > top && b < bottom) || (a < bottom && b > top);
    const bool signLeap = ((a > 0 && b < 0) || (a < 0 && b > 0)) && std::fabs(b - a) > top - bottom;
    if (!acrossThePlot && !signLeap) return true;
    // NaN (no sample before) compares false: the leap is a pole.
    return (a - s.before) * (b - a) > 0;
}

}  // namespace quorel
