// Numbered run-time failures shared by the engine, the windows and the driver,
// and the one table of what each number is called where the program shows it.
#pragma once

#include <exception>

namespace quorel {

// The failure numbers that matter between subsystems.
enum FailureNumber : int {
    kErrDomain = 5,    // argument outside a function's domain
    kErrOverflow = 6,  // result out of range, 0/0, number text beyond the double range
    kErrDivZero = 11,  // a number other than 0 divided by 0
    kErrMissing = 13,  // missing operand, empty or cut-short expression
};

struct FailureInfo {
    int number;
    const char* name;   // standard description, at the head of the overflow message
    const char* cell;   // what a table cell shows instead of a value
    const char* plain;  // what went wrong, in plain words, for messages
};

// The row of `number`; a number the table does not hold gets a general row
// that carries that number.
FailureInfo failureInfo(int number) noexcept;

// Standard description of a failure number ("Overflow" for 6, ...).
inline const char* failureDescription(int number) noexcept {
    return failureInfo(number).name;
}

// A numbered failure; travels up to the nearest caller with a trap.
class Failure : public std::exception {
  public:
    explicit Failure(int number) noexcept : number_(number) {}
    int number() const noexcept { return number_; }
    const char* what() const noexcept override { return failureDescription(number_); }

  private:
    int number_;
};

}  // namespace quorel
