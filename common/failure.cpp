#include "common/failure.h"

namespace quorel {
namespace {

constexpr FailureInfo kFailures[] = {
    {kErrDomain, "Argument outside the function's domain", "domain",
     "an argument lies outside a function's domain (log of a number <= 0, sqr of a negative "
     "number, a negative number to a fractional power)"},
    {kErrOverflow, "Overflow", "overflow",
     "a result lies beyond the range of a double (about 1.8E+308), or is 0/0"},
    {kErrDivZero, "Division by zero", "division", "a number is divided by 0"},
    {kErrMissing, "Missing operand", "missing", "an operator or a function lacks its operand"},
};

}  // namespace

FailureInfo failureInfo(int number) noexcept {
    for (const FailureInfo& f : kFailures) {
        if (f.number == number) return f;
    }
    return {number, "Run-time failure", "failed", "a run-time failure"};
}

}  // namespace quorel
