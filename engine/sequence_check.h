// Whether a translated f(x) can give a value at all. How many operands each
// token finds does not depend on x, so a sequence that runs out of operands,
// or holds none, fails at every x; so does a number beyond the double range,
// and a sequence the translation had to cut short. Pure C++.
#pragma once

#include <string_view>

namespace quorel {

class Engine;

enum class SequenceProblem {
    None,            // can give a value (it may still fail at some x)
    Empty,           // no operand at all: an empty f(x), "((" ...
    MissingOperand,  // `op` finds too few operands: "x*-2", "sin", "+"
    BadNumber,       // a number beyond the double range: "1e999*x"
    CutShort,        // too long for the queue or the operator stack
};

struct SequenceCheck {
    SequenceProblem problem = SequenceProblem::None;
    // The row of kOperators whose token finds too few operands; -1 for
    // every other problem.
    int row = -1;
};

// Checks the sequence of the engine's last translation, in the order
// evaluation reads it. Leaves the queue at its saved read state.
SequenceCheck checkSequence(Engine& engine);

// How the user wrote the operator or function of a row of kOperators: "*",
// "-" for the sign "0-", "sin"...; "" for -1.
std::string_view tokenText(int row);

}  // namespace quorel
