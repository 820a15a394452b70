// Infix to postfix: the pieces of the f(x) text, read once, pass left to right
// through OpStack, where operators wait for their right operand. The same walk
// records the first problem it meets: a piece where it cannot stand.
#include <string_view>
#include <vector>

#include "engine/engine.h"
#include "engine/fx_pieces.h"
#include "engine/operators.h"

namespace quorel {
namespace {

constexpr std::int16_t kNotOperator = -9;
constexpr std::int16_t kParenthesisLevel = 9;

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
    problem_ = {};
    ownBase_ = OpStack.top();

    const std::vector<FxPiece> pieces = readPieces(expr);
    // What the last piece was; every state but Operand waits for an operand.
    enum class After { Start, Open, Operator, Sign, Function, Operand } after = After::Start;
    auto note = [&](FxProblemKind kind, std::size_t at) {
        if (problem_.kind == FxProblemKind::None) problem_ = problemAt(kind, expr, pieces, at);
    };
    // A sign right after an operator or a sign: the hint puts it in parentheses.
    auto noteBeforeSign = [&](FxProblemKind kind, std::size_t at, std::size_t sign) {
        if (problem_.kind != FxProblemKind::None) return;
        note(kind, at);
        bracketSign(problem_, expr, pieces, sign);
    };
    // Nothing stands where an operand should, before the piece `at`.
    auto noteMissing = [&](std::size_t at) {
        const std::size_t before = at - 1;
        switch (after) {
            case After::Open:
                if (before > 0 && pieces[before - 1].kind == PieceKind::Function) {
                    note(FxProblemKind::FunctionArgument, before - 1);
                } else {
                    note(FxProblemKind::EmptyGroup, before);
                }
                break;
            case After::Operator:
                note(FxProblemKind::OperatorOperand, before);
                break;
            case After::Sign:
                note(FxProblemKind::SignOperand, before);
                break;
            case After::Function:
                note(FxProblemKind::FunctionArgument, before);
                break;
            case After::Start:
            case After::Operand:
                break;
        }
    };

    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const FxPiece& p = pieces[i];
        switch (p.kind) {
            case PieceKind::Number:
            case PieceKind::X:
            case PieceKind::Unknown:
                if (p.kind == PieceKind::Unknown) note(FxProblemKind::UnknownPiece, i);
                if (p.beyondRange) note(FxProblemKind::BeyondRange, i);
                if (after == After::Function && p.kind == PieceKind::Number) noteMissing(i);
                if (after == After::Operand) {
                    // A number after x or ")" is no product.
                    if (p.kind == PieceKind::Number) {
                        note(FxProblemKind::NumberAfter, i);
                    } else {
                        Op_Handle(std::string("*"));
                    }
                }
                addToken(p.token);
                after = After::Operand;
                break;
            case PieceKind::Function:
                if (after == After::Function) noteMissing(i);
                if (after == After::Operand) Op_Handle(std::string("*"));
                Op_Handle(p.token);
                after = After::Function;
                break;
            case PieceKind::Open:
                if (after == After::Operand) Op_Handle(std::string("*"));
                Op_Handle(p.token);
                after = After::Open;
                break;
            case PieceKind::Close:
                if (after == After::Start) note(FxProblemKind::CloseFirst, i);
                noteMissing(i);
                Op_Handle(p.token);
                after = After::Operand;
                break;
            case PieceKind::Operator: {
                const bool sign = p.token == "+" || p.token == "-";
                if (sign && (after == After::Start || after == After::Open)) {
                    Op_Handle("0" + p.token);
                    after = After::Sign;
                    break;
                }
                if (after == After::Start || after == After::Open) {
                    note(FxProblemKind::OperatorOperand, i);
                } else if (sign && after == After::Operator) {
                    noteBeforeSign(FxProblemKind::OperatorOperand, i - 1, i);
                } else if (sign && after == After::Sign) {
                    noteBeforeSign(FxProblemKind::SignOperand, i - 1, i);
                } else {
                    noteMissing(i);
                }
                // Past the start and "(", "+" and "-" are the operators they look like.
                Op_Handle(p.token);
                after = After::Operator;
                break;
            }
        }
    }
    if (after == After::Start) {
        problem_.kind = FxProblemKind::Empty;
    } else if (after != After::Operand) {
        noteMissing(pieces.size());
    }
    Op_Handle(std::string(")"));
    flushOwnOperators();
    ownBase_ = 0;
    FxQueue.HoldValue();
    translatedGeneration_ = FxQueue.generation();
    compileSequence();
    if (cut_) dialogs_.message(kTooLongMessage, kAppTitle);
}

}  // namespace quorel
