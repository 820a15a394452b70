// A slow reference for evaluation: the queue's saved sequence read literally,
// token by token, as a direct walk of the postfix: fetch, lower-case, look the
// token up in the operator table and apply its row; x and numbers are pushed.
// Nothing is folded or made in advance. Used by the engine tests and the fuzz
// target, which compare Engine::Fx_Eval with it bit for bit.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <string>
#include <tuple>

#include "common/failure.h"
#include "common/numtext.h"
#include "engine/engine.h"

namespace quorel::testing {

// f(x) from the sequence the last translation of `e` left (or the tokens
// added after it). `refused`: the last translation's problem refuses it.
inline double referenceEval(Engine& e, double x, bool refused) {
    Queue& q = e.FxQueue;
    q.SetValue();
    if (refused) throw Failure(kErrMissing);
    Stack operands;
    auto pop = [&] {
        const Value v = operands.pop();
        if (!operands.succeeded) throw Failure(kErrMissing);
        return std::get<double>(v);
    };
    for (;;) {
        std::string t = valueText(q.fetch());
        if (!q.succeeded || t.empty()) break;
        for (char& c : t) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        double r;
        if (const OperatorRow* op = findOperator(t, e.operators())) {
            const double b = operandsOf(*op) == 2 ? pop() : 0.0;
            const double a = pop();
            r = op->evaluate(a, b);
            if (!std::isfinite(r)) throw Failure(op->failure(a, b));
        } else if (t == "x") {
            if (!std::isfinite(x)) throw Failure(kErrOverflow);
            r = x;
        } else {
            r = textToNumber(t);
        }
        operands.push(r);
    }
    return pop();
}

// A call's value bits or failure number, and the queue's read state after it.
template <typename F>
auto outcomeAndReadState(Engine& e, F f) {
    std::uint64_t bits = 0;
    int failure = 0;
    try {
        bits = std::bit_cast<std::uint64_t>(f());
    } catch (const Failure& failed) {
        failure = failed.number();
    }
    return std::tuple(bits, failure, e.FxQueue.front(), e.FxQueue.hasItems(), e.FxQueue.succeeded);
}

}  // namespace quorel::testing
