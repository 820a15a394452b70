// The three number boxes of a calculation as it reads them. Typed values are
// read as numbers from their start, as always; a box that held more than its
// number gets a note that says how it was read, and an error below 0, which
// can never be met, is refused.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorel {

inline constexpr const char* kNegativeErrorMessage =
    "The number in \"error=\" is below 0: |f(X)| can never be that small, so the calculation "
    "could never stop on it. Type 0 or more (0 stops only where f(X) is exactly 0).";

// How `text` of `box` was read when it held more than its number
// ("initial value= read as 2; the rest, \",5\", was ignored"); nothing when
// the whole text was the number. A number beyond the double range throws
// Failure 6.
struct BoxRead {
    double value = 0.0;
    std::optional<std::string> note;
};
BoxRead readBox(const char* box, std::string_view text);

}  // namespace quorel
