// How a calculation ended, in the words of the line on the graph surface and
// of the message that ends an iteration early.
#pragma once

#include <string>

namespace quorel {

inline constexpr const char* kOutOfMemoryMessage =
    "Out of memory: the calculation was stopped. Lower \"Loops =\" and calculate again.";

// The value of the iteration that could not be computed.
enum class Uncomputed { Fx, Slope, NextX };

std::string rootOutcome(double x, double fx, long long passes);
std::string loopLimitOutcome(double x, double fx, long long passes);
std::string zeroSlopeOutcome(double x);
std::string uncomputedOutcome(Uncomputed what, double x, int failure);
std::string stoppedOutcome(double x, long long passes);
std::string outOfMemoryOutcome(long long passes);
// An input that could not be used, and why.
std::string notCalculatedOutcome(const std::string& reason);

// The one message of an iteration that ends at x because `what` cannot be
// computed there; a zero slope has its own.
std::string uncomputedMessage(Uncomputed what, double x, int failure);
std::string zeroSlopeMessage(double x);
// f(x) overflowed at some sample of the curve, first at x.
std::string curveOverflowMessage(double x);
// A point of the iteration lies beyond what the graph can draw.
std::string beyondDrawingMessage(double x, double fx);

}  // namespace quorel
