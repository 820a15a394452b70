#include "solver/failure_messages.h"

#include <cctype>

#include "common/failure.h"
#include "common/numtext.h"
#include "engine/operators.h"

namespace quorel {
namespace {

constexpr const char* kBeyondDouble = "lies beyond the range of a double (about 1.8E+308).";

bool isOperator(char c) {
    return c == '+' || c == '-' || c == '*' || c == '/' || c == '^';
}
bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}
bool isOperandChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '.';
}

// End of the operand that starts at i: a run of letters, digits and points
// (a number, x or a function name), with the bracket that follows it.
std::size_t operandEnd(const std::string& s, std::size_t i) {
    while (i < s.size() && isBlank(s[i])) ++i;
    while (i < s.size() && isOperandChar(s[i])) ++i;
    if (i < s.size() && s[i] == '(') {
        int depth = 0;
        for (; i < s.size(); ++i) {
            if (s[i] == '(') ++depth;
            if (s[i] == ')' && --depth == 0) return i + 1;
        }
    }
    return i;
}

// The first piece of f(x) read as a number token that lies beyond the double
// range ("1e999" of "1e999*x"); "" when none is found.
std::string outOfRangeNumber(const std::string& fx) {
    std::string piece;
    auto check = [&]() -> bool {
        bool bad = false;
        if (!piece.empty() &&
            (std::isdigit(static_cast<unsigned char>(piece[0])) || piece[0] == '.')) {
            try {
                textToNumber(piece);
            } catch (const Failure&) {
                bad = true;
            }
        }
        if (!bad) piece.clear();
        return bad;
    };
    for (char c : fx) {
        if (isOperator(c) || c == '(' || c == ')' || c == 'x' || c == 'X' || isBlank(c)) {
            if (check()) return piece;
        } else {
            piece += c;
        }
    }
    return check() ? piece : std::string();
}

bool hasOperand(const std::string& fx) {
    for (char c : fx) {
        if (isOperandChar(c)) return true;
    }
    return false;
}

}  // namespace

std::string numberTextMessage(const std::string& box, const std::string& text) {
    return "The number in \"" + box + "\" cannot be read: \"" + text + "\" " + kBeyondDouble;
}

bool toldMalformed(const std::string& fx, Engine& engine, UserDialogs& dialogs) {
    const SequenceCheck check = checkSequence(engine);
    if (check.problem == SequenceProblem::None) return false;
    if (check.problem != SequenceProblem::CutShort)
        dialogs.message(malformedMessage(fx, check), kAppTitle);
    return true;
}

std::string bracketSignAfterOperator(const std::string& fx) {
    for (std::size_t i = 0; i < fx.size(); ++i) {
        if (!isOperator(fx[i])) continue;
        std::size_t j = i + 1;
        while (j < fx.size() && isBlank(fx[j])) ++j;
        if (j >= fx.size() || (fx[j] != '-' && fx[j] != '+')) continue;
        const std::size_t end = operandEnd(fx, j + 1);
        return fx.substr(0, j) + "(" + fx.substr(j, end - j) + ")" + fx.substr(end);
    }
    return {};
}

std::string malformedMessage(const std::string& fx, const SequenceCheck& check) {
    const std::string head = "f(x) \"" + fx + "\" cannot be calculated: ";
    switch (check.problem) {
        case SequenceProblem::None:
        case SequenceProblem::CutShort:
            return {};
        case SequenceProblem::Empty:
            if (!hasOperand(fx)) {
                if (fx.find('(') != std::string::npos)
                    return head +
                           "it holds no number and no x. Every \"(\" needs an expression and "
                           "its \")\", for example (x+1)*(x-2).";
                return "f(x) is empty: there is nothing to calculate. Type a function of x, for "
                       "example X^3-3X-10.";
            }
            return head + "it gives no value. Type a function of x, for example X^3-3X-10.";
        case SequenceProblem::BadNumber: {
            const std::string number = outOfRangeNumber(fx);
            return head + "the number " + (number.empty() ? "" : "\"" + number + "\" ") +
                   kBeyondDouble;
        }
        case SequenceProblem::MissingOperand:
            break;
    }
    const std::string name(tokenText(check.row));
    const OperatorRow& row = kOperators[check.row];
    if (row.operands == 2) {
        const std::string fixed = bracketSignAfterOperator(fx);
        if (!fixed.empty())
            return head + "the operator \"" + name +
                   "\" lacks an operand. A sign right after an operator needs parentheses: "
                   "write " +
                   fixed + ".";
        return head + "the operator \"" + name +
               "\" lacks an operand. Write a number, x or an expression on each side of it, for "
               "example 2*x.";
    }
    if (row.name == "0+" || row.name == "0-")
        return head + "the sign \"" + name +
               "\" has nothing to apply to. Write a number, x or an expression after it, for "
               "example -x.";
    return head + "the function \"" + name +
           "\" has no argument. Write its argument in parentheses, for example " + name + "(x).";
}

}  // namespace quorel
