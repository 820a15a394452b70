#include "table/cell_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "common/numtext.h"

namespace quorel {
namespace {

// Power of ten of the leading digit of v (v finite, not 0): 21 significant
// digits tell a double just below a power of ten from that power.
int decimalExponent(double v) {
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 20);
    if (ec != std::errc()) return 0;
    *end = '\0';
    const char* e = buf;
    while (e < end && *e != 'e') ++e;
    return e < end ? std::atoi(e + 1) : 0;
}

}  // namespace

int decimalCount(double v, CellKind kind) {
    const int base = kind == CellKind::Slope ? 11 : 10;
    const double a = std::fabs(v);
    if (a < 1.0) return base;
    // The quotient of two natural logarithms, as the table has always computed
    // it: 1000 gives 2.9999999999999996 and so 8 decimals, not 7.
    const double q = std::log(a) / std::log(10.0);
    if (!std::isfinite(q)) return -1;  // infinity or NaN: shown as it is
    return base - static_cast<int>(std::fabs(floorWhole(q)));
}

std::string cellText(double v, int decimals) {
    if (decimals >= 0) return numberToText(roundHalfEven(v, decimals));
    // A multiple of 10^-decimals: the digits down to that place, at least one.
    return numberToText(v, std::max(1, decimalExponent(v) + 1 + decimals));
}

}  // namespace quorel
