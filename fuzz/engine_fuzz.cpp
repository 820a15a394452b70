// Feeds arbitrary bytes as f(x) text to one long-lived engine, as the program
// does (or, after a leading byte 1, as tokens added to its queue directly),
// and evaluates f and its slope at a few x. Besides the sanitizers it
// checks that only the engine's failure numbers are thrown, that results are
// finite, and that evaluation with fused steps, evaluation one step per token
// and a plain token-by-token reading of the queue all agree: same value bits,
// same failure, same read state.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "common/failure.h"
#include "common/numtext.h"
#include "engine/engine.h"
#include "engine/operators.h"

namespace {

using quorel::Failure;

class SilentDialogs : public quorel::UserDialogs {
  public:
    void message(const std::string&, const std::string&) override {}
    void pause() override {}
};

struct Outcome {
    double value = 0.0;
    int failure = 0;
    int front = 0;
    bool hasItems = false;
    bool succeeded = false;
};

template <typename F>
Outcome run(quorel::Engine& e, F f) {
    Outcome o;
    try {
        o.value = f();
        if (!std::isfinite(o.value)) __builtin_trap();
    } catch (const Failure& failure) {
        o.failure = failure.number();
        if (o.failure != quorel::kErrDomain && o.failure != quorel::kErrOverflow &&
            o.failure != quorel::kErrDivZero && o.failure != quorel::kErrMissing)
            __builtin_trap();
    }
    o.front = e.FxQueue.front();
    o.hasItems = e.FxQueue.hasItems();
    o.succeeded = e.FxQueue.succeeded;
    return o;
}

// The evaluation read literally: fetch, lower-case, look the token up in the
// operator table and apply its row; x (always finite here) and numbers are pushed.
double readingEval(quorel::Engine& e, double x) {
    quorel::Queue& q = e.FxQueue;
    q.SetValue();
    if (e.sequenceCut()) throw Failure(quorel::kErrMissing);
    quorel::Stack operands;
    auto pop = [&] {
        const quorel::Value v = operands.pop();
        if (!operands.succeeded) throw Failure(quorel::kErrMissing);
        return std::get<double>(v);
    };
    for (;;) {
        std::string t = quorel::valueText(q.fetch());
        if (!q.succeeded || t.empty()) break;
        for (char& c : t) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        double r;
        if (const int row = quorel::operatorRow(t); row >= 0) {
            const quorel::OperatorRow& op = quorel::kOperators[row];
            const double b = op.operands == 2 ? pop() : 0.0;
            const double a = pop();
            r = op.evaluate(a, b);
            if (!std::isfinite(r)) throw Failure(op.failure(a, b));
        } else {
            r = t == "x" ? x : quorel::textToNumber(t);
        }
        operands.push(r);
    }
    return pop();
}

bool same(const Outcome& a, const Outcome& b) {
    return std::memcmp(&a.value, &b.value, sizeof a.value) == 0 && a.failure == b.failure &&
           a.front == b.front && a.hasItems == b.hasItems && a.succeeded == b.succeeded;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static SilentDialogs dialogs;
    static quorel::Engine engine(dialogs);

    const std::string text(reinterpret_cast<const char*>(data), size);
    if (!text.empty() && text[0] == '\x01') {
        // Tokens added to the queue directly, one per line, as a caller of
        // the containers may do: empty tokens, odd cases, a full ring.
        for (std::size_t from = 1, to = 0; to != std::string::npos; from = to + 1) {
            to = text.find('\n', from);
            engine.FxQueue.add(text.substr(from, to == std::string::npos ? to : to - from));
        }
        engine.FxQueue.HoldValue();
    } else {
        engine.Fx_Postfix(text);
    }
    for (double x : {0.0, 1.0, -2.5, 1e300, 0.75, -1e-160}) {
        const Outcome fast = run(engine, [&] { return engine.Fx_Eval(x); });
        engine.setFusion(false);
        const Outcome stepwise = run(engine, [&] { return engine.Fx_Eval(x); });
        engine.setFusion(true);
        const Outcome reading = run(engine, [&] { return readingEval(engine, x); });
        if (!same(fast, reading) || !same(stepwise, reading)) __builtin_trap();
        run(engine, [&] { return engine.Fx_Diff(x); });
    }
    return 0;
}
