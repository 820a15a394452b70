// Numbered run-time failures shared by the engine, the windows and the driver.
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

// Standard description of a failure number ("Overflow" for 6, ...).
const char* failureDescription(int number) noexcept;

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
