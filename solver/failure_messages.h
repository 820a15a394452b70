// What the user is told when a typed text cannot be used: a number beyond the
// double range in one of the boxes, an f(x) that can give no value at any x.
#pragma once

#include <string>

#include "common/user_dialogs.h"
#include "engine/sequence_check.h"

namespace quorel {

class Engine;

// The labels of the boxes whose numbers are read.
inline constexpr const char* kBoxInitialValue = "initial value=";
inline constexpr const char* kBoxError = "error=";
inline constexpr const char* kBoxLoops = "Loops =";
inline constexpr const char* kBoxPauseSeconds = "pause second:";

// A number text of `box` beyond the range of a double.
std::string numberTextMessage(const std::string& box, const std::string& text);

// The problem of f(x) `fx` that `check` found, with a hint how to write it;
// "" when there is none. A sequence cut short is told by the translation.
std::string malformedMessage(const std::string& fx, const SequenceCheck& check);

// When the f(x) `fx` translated in `engine` can give no value at any x, tells
// the user why (a sequence cut short was told by the translation) and returns
// true.
bool toldMalformed(const std::string& fx, Engine& engine, UserDialogs& dialogs);

// f(x) with its first sign that follows an operator put in parentheses with
// its operand ("x*-2" gives "x*(-2)"); "" when f(x) has no such sign.
std::string bracketSignAfterOperator(const std::string& fx);

}  // namespace quorel
