// How the iteration table turns a value into cell text. Pure C++.
#pragma once

#include <string>

namespace quorel {

enum class CellKind { Value, Slope };  // Xi and f(Xi) / f'(Xi)

// Decimal count: 10 (11 for a slope) when |v| < 1, else
// 10 (11) - |floor(ln|v| / ln 10)|. May be negative for huge magnitudes.
int decimalCount(double v, CellKind kind);

// v rounded to `decimals` (ties to even) in the general number form. A
// negative count rounds to a multiple of 10^-decimals: from 1E+11 on a value
// keeps the 11 significant digits (12 for a slope) it has just below.
std::string cellText(double v, int decimals);

}  // namespace quorel
