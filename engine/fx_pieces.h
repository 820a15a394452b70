// The pieces of a typed f(x), read once, left to right. Blanks, tabs and line
// feeds are skipped wherever they stand, also inside a number or a name. A
// number is read whole as a typed number is: digits with at most one ".", then
// an exponent (E or D, an optional sign, digits) when digits follow the letter.
// A run of letters is split into function names of the operator table, the
// longest that fits first, and x ("expx", "xsinx"); a run that does not split, a malformed number
// ("3.1.2", ".") and any other character are unknown pieces. Pure C++.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/operators.h"

namespace quorel {

enum class PieceKind { Number, X, Function, Operator, Open, Close, Unknown };

struct FxPiece {
    PieceKind kind;
    // The token as queued: blanks left out, letters lower-cased ("2.5d-3",
    // "sin"), the variable "X".
    std::string token;
    // Bytes [begin, end) of the typed text, from the piece's first character
    // to its last.
    std::size_t begin;
    std::size_t end;
    bool beyondRange = false;  // a number beyond the double range
};

std::vector<FxPiece> readPieces(std::string_view text, OperatorTable operators = kOperators);

// The 1-based position, counted in characters, of the byte `offset` of a UTF-8
// text.
int characterPosition(std::string_view text, std::size_t offset);

}  // namespace quorel
