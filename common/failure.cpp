#include "common/failure.h"

namespace quorel {

const char* failureDescription(int number) noexcept {
    switch (number) {
        case kErrDomain:
            return "Argument outside the function's domain";
        case kErrOverflow:
            return "Overflow";
        case kErrDivZero:
            return "Division by zero";
        case kErrMissing:
            return "Missing operand";
        default:
            return "Run-time failure";
    }
}

}  // namespace quorel
