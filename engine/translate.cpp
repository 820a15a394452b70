// Infix to postfix: one left-to-right scan of the f(x) text with a pending
// token, operators waiting on OpStack for their right operand.
#include <string_view>
#include <vector>

#include "engine/engine.h"
#include "engine/operators.h"

namespace quorel {
namespace {

constexpr std::int16_t kNotOperator = -9;
constexpr std::int16_t kParenthesisLevel = 9;

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
char upperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::int16_t levelOf(std::string_view t) {
    if (t == "(" || t == ")") return kParenthesisLevel;
    const int row = operatorRow(t);
    return row < 0 ? kNotOperator : kOperators[row].level;
}

bool isText(const Value& v, std::string_view t) {
    const auto* s = std::get_if<std::string>(&v);
    return s != nullptr && *s == t;
}

}  // namespace

std::int16_t Engine::Op_Level(const Value& token) {
    if (const auto* s = std::get_if<std::string>(&token)) return levelOf(*s);
    return kNotOperator;
}

void Engine::addToken(const Value& token) {
    FxQueue.add(token);
    if (!FxQueue.succeeded) cut_ = true;
}

// Leftover "(" of earlier translations lie below ownBase_. When they would
// make this translation run out of stack, the topmost of them is dropped
// first; they are all alike, so only their number changes.
void Engine::pushOperator(const Value& token) {
    if (OpStack.top() >= Stack::kMaxItems && ownBase_ > 0) {
        std::vector<Value> own;
        while (OpStack.top() > ownBase_) own.push_back(OpStack.pop());
        OpStack.pop();
        --ownBase_;
        for (auto it = own.rbegin(); it != own.rend(); ++it) OpStack.push(std::move(*it));
    }
    OpStack.push(token);
    if (!OpStack.succeeded) cut_ = true;
}

// A pop below ownBase_ reaches a leftover "(" of an earlier translation:
// whatever this translation pushes from then on is its own.
Value Engine::popOperator() {
    Value top = OpStack.pop();
    if (OpStack.top() < ownBase_) ownBase_ = OpStack.top();
    return top;
}

void Engine::Op_Handle(const Value& token) {
    OpStack.nowValue();
    if (!OpStack.succeeded) {
        if (!isText(token, ")")) pushOperator(token);
        return;
    }
    if (isText(token, ")")) {
        for (;;) {
            const Value top = OpStack.nowValue();
            if (!OpStack.succeeded || isText(top, "(")) break;
            addToken(popOperator());
        }
        popOperator();
        return;
    }
    const std::int16_t level = Op_Level(token);
    for (;;) {
        const Value top = OpStack.nowValue();
        // The look failing also ends the loop, so a non-operator token cannot
        // keep popping an empty stack.
        if (!OpStack.succeeded || Op_Level(top) < level || isText(top, "(")) break;
        addToken(popOperator());
    }
    pushOperator(token);
}

// The closing ")" at the end of a translation only reaches down to the first
// "(". Operators of this translation waiting below an unclosed "(" (the "*" of
// "x*(x-1", the "sin" of "sin(x") belong to this f(x): they go to the queue,
// innermost first, instead of being lost to it and read by the next
// translation. The unclosed "(" themselves stay, as every leftover "(" does.
// Everything above ownBase_ is this translation's own, also what it pushed
// after one of its ")" closed a leftover "(".
void Engine::flushOwnOperators() {
    std::vector<Value> opens;
    while (OpStack.top() > ownBase_) {
        Value top = OpStack.pop();
        if (isText(top, "(")) {
            opens.push_back(std::move(top));
        } else {
            addToken(top);
        }
    }
    for (auto it = opens.rbegin(); it != opens.rend(); ++it) pushOperator(*it);
}

void Engine::Fx_Postfix(const std::string& expr) {
    do {
        FxQueue.fetch();
    } while (FxQueue.succeeded);
    cut_ = false;
    ownBase_ = OpStack.top();

    std::string pending;
    bool signIsInfix = false;
    const std::size_t n = expr.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char ch = lowerAscii(expr[i]);
        if (ch == 'x') {
            if (levelOf(pending) > kNotOperator) {
                Op_Handle(pending);
                addToken(std::string("X"));
                pending.clear();
            } else if (i + 1 < n && upperAscii(expr[i + 1]) == 'P') {
                pending += ch;  // the x of "exp"
            } else {
                if (!pending.empty()) {
                    addToken(pending);
                    Op_Handle(std::string("*"));
                    pending.clear();
                }
                addToken(std::string("X"));
            }
        } else if (ch == '+' || ch == '-') {
            if (!signIsInfix) {
                Op_Handle(std::string{'0', ch});
            } else {
                if (!pending.empty()) {
                    addToken(pending);
                    pending.clear();
                }
                Op_Handle(std::string(1, ch));
            }
        } else if (levelOf(std::string_view(&ch, 1)) == kNotOperator) {
            pending += ch;
        } else {
            if (levelOf(pending) > kNotOperator) {
                Op_Handle(pending);
            } else if (!pending.empty()) {
                addToken(pending);
            }
            Op_Handle(std::string(1, ch));
            pending.clear();
        }
        signIsInfix = ch != '(';
    }
    if (!pending.empty()) addToken(pending);
    Op_Handle(std::string(")"));
    flushOwnOperators();
    ownBase_ = 0;
    FxQueue.HoldValue();
    compileSequence();
    if (cut_) dialogs_.message(kTooLongMessage, kAppTitle);
}

}  // namespace quorel
