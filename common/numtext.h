// Text <-> number conversions and rounding shared by every window and the engine.
// The decimal point is always "." whatever the locale.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quorel {

// A letter A-Z as a-z; any other character as it is.
inline char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
// The characters a typed f(x) or number skips wherever they stand, even
// inside a number, and the decimal digits.
inline bool isSkippedChar(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}
inline bool isDecimalDigit(char c) {
    return c >= '0' && c <= '9';
}

// Numeric value of a text: the number at its start. Blanks, tabs and line feeds
// are skipped wherever they stand; optional sign, digits, optional "." and
// digits, optional exponent introduced by E or D (either case) with optional
// sign and digits; reading stops at the first other character. A text without
// a leading number gives 0. A number beyond the double range throws Failure 6.
double textToNumber(std::string_view text);

// The same reading, with the length of text it used: what follows `used` was
// not part of the number (a text without a leading number uses none of it).
struct NumberRead {
    double value = 0.0;
    std::size_t used = 0;
};
NumberRead readNumber(std::string_view text);
// What of `text` follows the number `read` took from it, less the characters
// skipped at its end: empty when the text was the number alone.
std::string_view restAfter(std::string_view text, const NumberRead& read);

// The shortest text that reads back as the same double ("4.588329716170851E-12").
std::string fullNumberText(double v);

// General form: at most 15 significant digits, no trailing zeros, no point for
// whole numbers, exponent form (1E-07, 1E+15) for very small or large
// magnitudes. Negative zero is written "0".
std::string numberToText(double v);

// v rounded to `digits` significant digits (1 to 15; ties to even on the
// exact binary value) in the same general form. The rounded number may lie
// beyond the double range (next to the largest double): its digits are
// written all the same.
std::string numberToText(double v, int digits);

// Round to the nearest whole number, a half going to the even neighbour.
double roundHalfEven(double v);

// Round to `decimals` decimal places (decimals >= 0), a half going to the even
// neighbour. Ties are judged on the exact binary value of v (0.125 -> 0.12 at
// 2; 2.675 is stored just below the tie and gives 2.67).
double roundHalfEven(double v, int decimals);

// Largest whole number not greater than v.
double floorWhole(double v);

// Whole-number division truncating toward zero (the backslash operator).
long long wholeDiv(long long a, long long b);

// Conversion to a 16-bit signed whole number (nearest, halves to even);
// throws Failure 6 when the result does not fit.
std::int16_t toInt16(double v);

}  // namespace quorel
