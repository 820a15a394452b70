// The messages that end an iteration early or tell what the graph leaves out.
#pragma once

#include <string>

#include "run/outcome.h"

namespace quorel {

inline constexpr const char* kOutOfMemoryMessage =
    "Out of memory: the calculation was stopped. Lower \"Loops =\" and calculate again.";

// The one message of an iteration that ends at x because `what` cannot be
// computed there; a zero slope has its own.
std::string uncomputedMessage(Uncomputed what, double x, int failure);
std::string zeroSlopeMessage(double x);
// f(x) overflowed at some sample of the curve, first at x.
std::string curveOverflowMessage(double x);
// A point of the iteration lies beyond what the graph can draw.
std::string beyondDrawingMessage(double x, double fx);

}  // namespace quorel
