#include "engine/sequence_check.h"

#include "engine/engine.h"

namespace quorel {
namespace {

// Operands a token takes off the operand stack; -1 for one that pushes.
int operandsTaken(TokenOp op) {
    switch (op) {
        case TokenOp::Number:
        case TokenOp::BadNumber:
        case TokenOp::X:
            return -1;
        case TokenOp::Add:
        case TokenOp::Sub:
        case TokenOp::Mul:
        case TokenOp::Div:
        case TokenOp::Pow:
            return 2;
        default:
            return 1;
    }
}

}  // namespace

SequenceCheck checkSequence(Engine& engine) {
    if (engine.sequenceCut()) return {SequenceProblem::CutShort, TokenOp::End};
    Queue& q = engine.FxQueue;
    q.SetValue();
    int count = 0;
    if (q.hasItems()) {
        count = q.rear() - q.front();
        if (count <= 0) count += Queue::kRing;
    }
    int depth = 0;
    for (int slot = q.front(); count > 0; --count) {
        if (++slot == Queue::kRing) slot = 0;
        const TokenOp op = q.compiledAt(slot).op;
        if (op == TokenOp::End) break;
        if (op == TokenOp::BadNumber) return {SequenceProblem::BadNumber, op};
        const int taken = operandsTaken(op);
        if (taken < 0) {
            ++depth;
        } else if (depth < taken) {
            return {SequenceProblem::MissingOperand, op};
        } else {
            depth -= taken - 1;
        }
    }
    if (depth == 0) return {SequenceProblem::Empty, TokenOp::End};
    return {};
}

const char* tokenText(TokenOp op) {
    switch (op) {
        case TokenOp::Add:
        case TokenOp::UPlus:
            return "+";
        case TokenOp::Sub:
        case TokenOp::UMinus:
            return "-";
        case TokenOp::Mul:
            return "*";
        case TokenOp::Div:
            return "/";
        case TokenOp::Pow:
            return "^";
        case TokenOp::Sin:
            return "sin";
        case TokenOp::Cos:
            return "cos";
        case TokenOp::Tan:
            return "tan";
        case TokenOp::Atn:
            return "atn";
        case TokenOp::Exp:
            return "exp";
        case TokenOp::Sqr:
            return "sqr";
        case TokenOp::Log:
            return "log";
        default:
            return "";
    }
}

}  // namespace quorel
