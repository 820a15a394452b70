#include "solver/failure_messages.h"

#include <cstdio>

#include "common/failure.h"
#include "engine/engine.h"

namespace quorel {
namespace {

constexpr const char* kBeyondDouble = "lies beyond the range of a double (about 1.8E+308).";
// A longer f(x) is not repeated in its message.
constexpr int kQuotedLength = 100;

int characters(const std::string& s) {
    return characterPosition(s, s.size()) - 1;
}

// A piece in quotes; a control character by its code ("the character U+0009").
std::string named(const std::string& piece) {
    if (piece.size() == 1 && (static_cast<unsigned char>(piece[0]) < 0x20 || piece[0] == 0x7f)) {
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned char>(piece[0]));
        return std::string("the character ") + code;
    }
    return "\"" + piece + "\"";
}

std::string unknownHint(const std::string& piece, OperatorTable operators) {
    std::string lower;
    for (char c : piece) lower += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    if (lower == "pi") return "Write the number itself, for example 3.14159265358979.";
    if (lower == "e") return "Write exp(1) for the number e.";
    if (piece == "\u00b2" || piece == "\u00b3") return "Write a power with ^, for example x^2.";
    if (!piece.empty() && (piece[0] == '.' || (piece[0] >= '0' && piece[0] <= '9')))
        return "A number has digits and at most one \".\", for example 3.12 or 2.5E-3.";
    return "f(x) is made of numbers, x, + - * / ^, parentheses and the functions " +
           functionNames(", ", " and ", operators) + ".";
}

}  // namespace

std::string numberTextMessage(const std::string& box, const std::string& text) {
    return "The number in \"" + box + "\" cannot be read: \"" + text + "\" " + kBeyondDouble;
}

bool toldMalformed(const std::string& fx, Engine& engine, UserDialogs& dialogs) {
    if (engine.problem().kind == FxProblemKind::None) return false;
    dialogs.message(malformedMessage(fx, engine.problem(), engine.operators()), kAppTitle);
    return true;
}

std::string malformedMessage(const std::string& fx, const FxProblem& problem,
                             OperatorTable operators) {
    const bool quoted = characters(fx) <= kQuotedLength;
    const std::string head =
        quoted ? "f(x) \"" + fx + "\" cannot be calculated: " : "f(x) cannot be calculated: ";
    const std::string at = " at position " + std::to_string(problem.position);
    const std::string piece = named(problem.piece) + at;
    // The rewrite of a sign after an operator: the whole f(x) when it is quoted.
    const std::string rewrite =
        quoted ? problem.bracketed + "." : problem.bracketedPart + " there.";
    switch (problem.kind) {
        case FxProblemKind::None:
            return {};
        case FxProblemKind::TooLong:
            return kTooLongMessage;
        case FxProblemKind::Empty:
            return "f(x) is empty: there is nothing to calculate. Type a function of x, for "
                   "example X^3-3X-10.";
        case FxProblemKind::UnknownPiece:
            return head + piece + " is not a number, x, an operator or a function. " +
                   unknownHint(problem.piece, operators);
        case FxProblemKind::BeyondRange:
            return head + "the number " + piece + " " + kBeyondDouble;
        case FxProblemKind::NumberAfter:
            return head + "the number " + piece +
                   " has no operator before it. Write * or ^ there, for example x*2 or x^2.";
        case FxProblemKind::OperatorOperand:
            if (!problem.bracketed.empty())
                return head + "the operator " + piece +
                       " lacks an operand. A sign right after an operator needs parentheses: "
                       "write " +
                       rewrite;
            return head + "the operator " + piece +
                   " lacks an operand. Write a number, x or an expression on each side of it, "
                   "for example 2*x.";
        case FxProblemKind::SignOperand:
            if (!problem.bracketed.empty())
                return head + "the sign " + piece +
                       " is followed by another sign. A sign right after a sign needs "
                       "parentheses: write " +
                       rewrite;
            return head + "the sign " + piece +
                   " has nothing to apply to. Write a number, x or an expression after it, for "
                   "example -x.";
        case FxProblemKind::FunctionArgument:
            return head + "the function " + piece +
                   " has no argument. Write its argument in parentheses, for example " +
                   problem.piece + "(x).";
        case FxProblemKind::EmptyGroup:
            return head + "the " + piece +
                   " holds no expression. Every \"(\" needs an expression and its \")\", for "
                   "example (x+1)*(x-2).";
        case FxProblemKind::CloseFirst:
            return head + "the " + piece +
                   " has no expression before it. Every \")\" closes an expression opened by "
                   "\"(\", for example (x+1)*(x-2).";
    }
    return {};
}

}  // namespace quorel
