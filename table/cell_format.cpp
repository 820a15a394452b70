#include "table/cell_format.h"

#include <cmath>

#include "common/numtext.h"

namespace quorel {

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
    return numberToText(decimals < 0 ? v : roundHalfEven(v, decimals));
}

}  // namespace quorel
