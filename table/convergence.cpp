#include "table/convergence.h"

#include <cmath>

#include "common/failure.h"

namespace quorel {

Figure ConvergenceFigures::absOf(CellValue fx) {
    if (fx.failure != 0) return Figure::failed(fx.failure);
    return Figure::number(std::fabs(fx.value));
}

Figure ConvergenceFigures::between(CellValue x0, CellValue x1) {
    if (x0.failure != 0) return Figure::failed(x0.failure);
    if (x1.failure != 0) return Figure::failed(x1.failure);
    const double d = std::fabs(x1.value - x0.value);
    if (!std::isfinite(d)) return Figure::failed(kErrOverflow);
    return Figure::number(d);
}

Figure ConvergenceFigures::absFx(long long i) const {
    if (i < 0 || i >= size()) return {};
    return absOf(rows_.at(i, 1));
}

Figure ConvergenceFigures::step(long long i) const {
    if (i < 0 || i + 1 >= size()) return {};
    return between(rows_.at(i, 0), rows_.at(i + 1, 0));
}

Figure ConvergenceFigures::ratio(long long i) const {
    const Figure a = step(i), b = step(i + 1);
    if (a.kind == Figure::kFailed) return a;
    if (b.kind == Figure::kFailed) return b;
    if (!a.isNumber() || !b.isNumber() || a.value == 0.0) return {};
    const double r = b.value / a.value;
    if (!std::isfinite(r)) return Figure::failed(kErrOverflow);
    return Figure::number(r);
}

Figure ConvergenceFigures::order(long long i) const {
    const Figure before = ratio(i - 1), now = ratio(i);
    if (before.kind == Figure::kFailed) return before;
    if (now.kind == Figure::kFailed) return now;
    if (!before.isNumber() || !now.isNumber()) return {};
    const double down = std::log(before.value);
    const double up = std::log(now.value);
    if (down == 0.0 || !std::isfinite(down) || !std::isfinite(up)) return {};
    return Figure::number(up / down);
}

}  // namespace quorel
