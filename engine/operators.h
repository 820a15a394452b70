// The built-in operators and functions of f(x), one row each. Translation
// takes a token's level from here, the queue's compiled slots the row a token
// names, and evaluation the operation and the number of its failure. Adding a
// one-operand function is one row (level 6, one operand).
//
// Operands are always finite, and an operation fails exactly when its result
// is not finite (an overflow, a division by zero, the square root or the
// logarithm outside its domain, ...): `failure` names the failure then.
#pragma once

#include <cmath>
#include <cstdint>
#include <iterator>
#include <string_view>

#include "common/checked_math.h"
#include "common/failure.h"
#include "engine/power.h"

namespace quorel {

struct OperatorRow {
    std::string_view name;     // the token as queued: "+", "0-", "sin"
    std::string_view written;  // as the user types it: "-" for the sign "0-"
    std::int16_t level;        // precedence in translation
    int operands;              // 1 or 2
    // The result for the left operand a and the right operand b; rows of one
    // operand read a only.
    double (*evaluate)(double a, double b);
    // The failure number for operands whose result is not finite.
    int (*failure)(double a, double b);
};

namespace operation {

inline int overflow(double, double) {
    return kErrOverflow;
}
inline int domain(double, double) {
    return kErrDomain;
}
inline int powFailure(double a, double b) {
    if (a < 0.0 && b != std::trunc(b)) return kErrDomain;
    if (a == 0.0 && b < 0.0) return kErrDivZero;
    return kErrOverflow;
}

}  // namespace operation

inline constexpr OperatorRow kOperators[] = {
    {"+", "+", 1, 2, [](double a, double b) { return a + b; }, operation::overflow},
    {"-", "-", 1, 2, [](double a, double b) { return a - b; }, operation::overflow},
    {"*", "*", 2, 2, [](double a, double b) { return a * b; }, operation::overflow},
    {"/", "/", 2, 2, [](double a, double b) { return a / b; }, divisionFailure},
    {"^", "^", 5, 2, [](double a, double b) { return power(a, b); }, operation::powFailure},
    {"0+", "+", 3, 1, [](double a, double) { return a; }, operation::overflow},
    {"0-", "-", 3, 1, [](double a, double) { return 0.0 - a; }, operation::overflow},
    {"sin", "sin", 6, 1, [](double a, double) { return std::sin(a); }, operation::overflow},
    {"cos", "cos", 6, 1, [](double a, double) { return std::cos(a); }, operation::overflow},
    {"exp", "exp", 6, 1, [](double a, double) { return std::exp(a); }, operation::overflow},
    {"tan", "tan", 6, 1, [](double a, double) { return std::tan(a); }, operation::overflow},
    {"sqr", "sqr", 6, 1, [](double a, double) { return std::sqrt(a); }, operation::domain},
    {"log", "log", 6, 1, [](double a, double) { return std::log(a); }, operation::domain},
    {"atn", "atn", 6, 1, [](double a, double) { return std::atan(a); }, operation::overflow},
};

inline constexpr int kOperatorCount = static_cast<int>(std::size(kOperators));

// The row whose name is exactly `name`, or -1.
constexpr int operatorRow(std::string_view name) {
    for (int i = 0; i < kOperatorCount; ++i) {
        if (kOperators[i].name == name) return i;
    }
    return -1;
}

}  // namespace quorel
