// Infix to postfix: the pieces of the f(x) text, read once, pass left to right
// through OpStack, where operators wait for their right operand. The first
// problem of the text is found on the same pieces (engine/fx_problem.h).
#include <string_view>
#include <vector>

#include "engine/engine.h"
#include "engine/fx_pieces.h"

namespace quorel {
namespace {

constexpr std::int16_t kNotOperator = -9;
constexpr std::int16_t kParenthesisLevel = 9;

bool isText(const Value& v, std::string_view t) {
    const auto* s = std::get_if<std::string>(&v);
    return s != nullptr && *s == t;
}

}  // namespace

Engine::Engine(OperatorTable operators) : operators_(operators) {}

std::int16_t Engine::Op_Level(const Value& token) const {
    const auto* t = std::get_if<std::string>(&token);
    if (t == nullptr) return kNotOperator;
    if (*t == "(" || *t == ")") return kParenthesisLevel;
    const OperatorRow* row = findOperator(*t, operators_);
    return row == nullptr ? kNotOperator : row->level;
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

Translation Engine::Fx_Postfix(const std::string& expr) {
    do {
        FxQueue.fetch();
    } while (FxQueue.succeeded);
    cut_ = false;
    ownBase_ = OpStack.top();
    const std::vector<FxPiece> pieces = readPieces(expr, operators_);
    problem_ = firstProblem(expr, pieces);

    std::size_t cutAt = 0;  // the piece at which the sequence was first cut
    bool operand = false;   // the last piece ends an operand: x, a number, ")"
    bool signPlace = true;  // at the start or right after "(", a sign is unary
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (!cut_) cutAt = i;
        const FxPiece& p = pieces[i];
        // An operand, a function or "(" right after an operand is a product;
        // a number there is refused instead.
        if (operand && p.kind != PieceKind::Number && p.kind != PieceKind::Operator &&
            p.kind != PieceKind::Close)
            Op_Handle(std::string("*"));
        if (p.kind == PieceKind::Number || p.kind == PieceKind::X || p.kind == PieceKind::Unknown) {
            addToken(p.token);
        } else if (signPlace && (p.token == "+" || p.token == "-")) {
            Op_Handle("0" + p.token);
        } else {
            Op_Handle(p.token);
        }
        operand = p.kind != PieceKind::Operator && p.kind != PieceKind::Function &&
                  p.kind != PieceKind::Open;
        signPlace = p.kind == PieceKind::Open;
    }
    Op_Handle(std::string(")"));
    flushOwnOperators();
    ownBase_ = 0;
    if (cut_) problem_ = problemAt(FxProblemKind::TooLong, expr, pieces, cutAt);
    FxQueue.HoldValue();
    makeSequence(problem_.kind != FxProblemKind::None &&
                 problem_.kind != FxProblemKind::BeyondRange);

    Translation result{{}, problem_};
    for (int k = 0, slot = FxQueue.front(); k < FxQueue.unread(); ++k) {
        slot = (slot + 1) % Queue::kRing;
        result.tokens.push_back(valueText(FxQueue.itemAt(slot)));
    }
    return result;
}

}  // namespace quorel
