// The built-in operators and functions of f(x), one row each. Translation
// takes a token's level from here, the pieces reader the function names,
// evaluation the operation and the number of its failure, and the help and
// the messages the list of functions. Adding a one-operand function is one
// row: level 6, the operation Function, its name and what it computes.
//
// Every consumer takes the table as an OperatorTable argument that defaults
// to kOperators, so a test can hand it a copy with a row more.
//
// Operands are always finite, and an operation fails exactly when its result
// is not finite (an overflow, a division by zero, the square root or the
// logarithm outside its domain, ...): `failure` names the failure then.
#pragma once

#include <cmath>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "common/checked_math.h"
#include "common/failure.h"
#include "engine/power.h"

namespace quorel {

// What evaluation does for a row. Function rows are computed by `evaluate`;
// the others are written out in the evaluation loop.
enum class Operation : std::uint8_t {
    Add,
    Subtract,
    Multiply,
    Divide,
    Power,
    Plus,
    Minus,
    Function
};

struct OperatorRow {
    std::string_view name;  // the token as queued: "+", "0-", "sin"
    std::int16_t level;     // precedence in translation
    Operation operation;
    // The result for the left operand a and the right operand b; rows of one
    // operand read a only.
    double (*evaluate)(double a, double b);
    // The failure number for operands whose result is not finite.
    int (*failure)(double a, double b);
    // For a function: what it is, as the help and the tooltip say it.
    std::string_view meaning = {};
};

using OperatorTable = std::span<const OperatorRow>;

constexpr int operandsOf(const OperatorRow& row) {
    return row.operation <= Operation::Power ? 2 : 1;
}

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
    {"+", 1, Operation::Add, [](double a, double b) { return a + b; }, operation::overflow},
    {"-", 1, Operation::Subtract, [](double a, double b) { return a - b; }, operation::overflow},
    {"*", 2, Operation::Multiply, [](double a, double b) { return a * b; }, operation::overflow},
    {"/", 2, Operation::Divide, [](double a, double b) { return a / b; }, divisionFailure},
    {"^", 5, Operation::Power, [](double a, double b) { return power(a, b); },
     operation::powFailure},
    {"0+", 3, Operation::Plus, [](double a, double) { return a; }, operation::overflow},
    {"0-", 3, Operation::Minus, [](double a, double) { return 0.0 - a; }, operation::overflow},
    {"sin", 6, Operation::Function, [](double a, double) { return std::sin(a); },
     operation::overflow, "sine (radians)"},
    {"cos", 6, Operation::Function, [](double a, double) { return std::cos(a); },
     operation::overflow, "cosine (radians)"},
    {"tan", 6, Operation::Function, [](double a, double) { return std::tan(a); },
     operation::overflow, "tangent (radians)"},
    {"atn", 6, Operation::Function, [](double a, double) { return std::atan(a); },
     operation::overflow, "arc tangent"},
    {"exp", 6, Operation::Function, [](double a, double) { return std::exp(a); },
     operation::overflow, "e to the power"},
    {"log", 6, Operation::Function, [](double a, double) { return std::log(a); }, operation::domain,
     "natural logarithm"},
    {"sqr", 6, Operation::Function, [](double a, double) { return std::sqrt(a); },
     operation::domain, "square root"},
};

// The row whose name is exactly `name`, or nullptr.
constexpr const OperatorRow* findOperator(std::string_view name, OperatorTable table = kOperators) {
    for (const OperatorRow& row : table) {
        if (row.name == name) return &row;
    }
    return nullptr;
}

// The functions of `table`, in table order, each as `item` writes it, joined
// by `separator` with `last` before the final one.
std::string listFunctions(OperatorTable table, std::string_view separator, std::string_view last,
                          const std::function<std::string(const OperatorRow&)>& item);

// Their names: "sin, cos, tan and atn".
std::string functionNames(std::string_view separator, std::string_view last,
                          OperatorTable table = kOperators);

}  // namespace quorel
