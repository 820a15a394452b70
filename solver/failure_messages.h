// What the user is told when a typed text cannot be used: a number beyond the
// double range in one of the boxes, an f(x) whose translation met a problem.
#pragma once

#include <string>

#include "common/user_dialogs.h"
#include "engine/fx_problem.h"
#include "engine/operators.h"

namespace quorel {

class Engine;

// An f(x) that does not fit the 500-token queue or the 500-operator stack.
inline constexpr const char* kTooLongMessage =
    "f(x) is too long: it needs more than 500 tokens or more than 500 pending "
    "operators. Please shorten f(x).";

// The labels of the boxes whose numbers are read.
inline constexpr const char* kBoxInitialValue = "initial value=";
inline constexpr const char* kBoxError = "error=";
inline constexpr const char* kBoxLoops = "Loops =";
inline constexpr const char* kBoxPauseSeconds = "pause second:";

// A number text of `box` beyond the range of a double.
std::string numberTextMessage(const std::string& box, const std::string& text);

// The problem of the typed f(x) `fx` that its translation recorded, with a
// hint how to write it; "" when there is none. The hints name the functions
// of `operators`.
std::string malformedMessage(const std::string& fx, const FxProblem& problem,
                             OperatorTable operators = kOperators);

// When the f(x) `fx` translated in `engine` had a problem, tells the user and
// returns true.
bool toldMalformed(const std::string& fx, Engine& engine, UserDialogs& dialogs);

}  // namespace quorel
