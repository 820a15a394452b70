// The translation rows: a text typed as f(x), the queue it leaves, and how
// many "(" stay on the operator stack. Shared by the translation tests and the
// tests that evaluate every row.
#pragma once

namespace quorel::testing {

struct TranslationCase {
    const char* text;
    const char* queue;  // tokens separated by blanks
    int operatorsLeft;
};

inline constexpr TranslationCase kTranslationCases[] = {
    {"3X^2-2X+1", "3 X 2 ^ * 2 X * - 1 +", 0},
    {"sin(3)*X^2-2*cos(X+8)", "3 sin X 2 ^ * 2 X 8 + cos * -", 0},
    {"(3x^2)*exp(2x-1)", "3 X 2 ^ * 2 X * 1 - exp *", 0},
    {"log(x^9-x^7+x^5)/log(9)-x-8", "X 9 ^ X 7 ^ - X 5 ^ + log 9 log / X - 8 -", 0},
    {"-x^2", "X 2 ^ 0-", 0},
    {"-2*x", "2 0- X *", 0},
    {"2^3^2", "2 3 ^ 2 ^", 0},
    {"x*-2", "X * 2 -", 0},
    {"2(x+1)", "2 X 1 + *", 0},
    {"SIN(X)", "X sin", 0},
    {"expx", "X exp", 0},
    {"ex+1", "ex 1 +", 0},
    {"x+1)", "X 1 +", 0},
    {"((x+1)", "X 1 +", 0},
    {"(((x+1)", "X 1 +", 1},
    {"x+ 1", "X 1 +", 0},
    {"x +1", "X 1 +", 0},
    {"", "", 0},
    {"3sin(x)", "3 X sin *", 0},
    {"sin+x", "sin X +", 0},
    {"x2", "X 2", 0},
    {"1E5*X", "1e5 X *", 0},
    {"+x", "X 0+", 0},
    {"x-(-x)", "X X 0- -", 0},
    {"atn(sqr(x))/tan(x)", "X sqr atn X tan /", 0},
    // Operators waiting below an unclosed "(" still apply to it.
    {"x*(x-1", "X X 1 - *", 0},
    {"2*((x+1", "2 X 1 + *", 1},
};

}  // namespace quorel::testing
