// The first problem the translation meets in a typed f(x): what it is, the
// piece as typed and where it stands. Every message about a malformed f(x)
// is made from this record. Pure C++.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/fx_pieces.h"

namespace quorel {

enum class FxProblemKind {
    None,
    Empty,             // nothing but blanks
    UnknownPiece,      // "pi", "x²", "3.1.2", "$": the piece is not known
    BeyondRange,       // a number beyond the double range: "1e999"
    NumberAfter,       // a number right after x or ")": "x2", "(x)2"
    OperatorOperand,   // an operator without an operand on one side: "x^", "*x", "x*-2"
    SignOperand,       // a sign with nothing to apply to: "+", "-)", "--x"
    FunctionArgument,  // a function without its argument: "sin", "sin()", "sin2"
    EmptyGroup,        // a "(" without an expression: "()", "x*("
    CloseFirst,        // a ")" before any expression: ")x"
    TooLong,           // more than 500 tokens or 500 pending operators, from this piece on
};

struct FxProblem {
    FxProblemKind kind = FxProblemKind::None;
    std::string piece;  // as typed, blanks inside it included
    int position = 0;   // of the piece's first character, counted from 1
    // For an operator or a sign followed by a sign: the typed text with that
    // sign and its operand in parentheses ("x*(-2)"), and that part alone
    // ("(-2)"); both "" when no whole operand follows the sign.
    std::string bracketed;
    std::string bracketedPart;
};

// The first problem of the pieces of `text`: a piece where it cannot stand.
// Empty when nothing but blanks was typed.
FxProblem firstProblem(std::string_view text, const std::vector<FxPiece>& pieces);

// The problem `kind` at the piece `at` of `text`.
FxProblem problemAt(FxProblemKind kind, std::string_view text, const std::vector<FxPiece>& pieces,
                    std::size_t at);

// Fills the bracketed texts of `problem` for the sign at the piece `sign`:
// the operand of a sign is what binds tighter than the sign, a number, x, a
// function with its argument or a parenthesised group, each with any "^" and
// power after it. A group left open at the end of the text is closed there.
void bracketSign(FxProblem& problem, std::string_view text, const std::vector<FxPiece>& pieces,
                 std::size_t sign);

}  // namespace quorel
