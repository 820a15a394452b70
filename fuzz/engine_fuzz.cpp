// Feeds arbitrary bytes to one long-lived engine as f(x) text (or, after a
// leading byte 1, as tokens added to its queue directly) and evaluates f and
// its slope at a few x. Only the engine's failure numbers and finite results
// may come out, and fused steps, one step per token and a plain reading of
// the queue must agree: same value bits, same failure, same read state.
// For a text: a text the translation accepts never lacks an operand, one it
// refuses never gives a value; the problem's piece stands at its position;
// blanks change nothing but positions; the hint's rewrite moves the first
// problem further on.
#include <bit>
#include <cmath>
#include <cstdint>
#include <string>
#include <tuple>

#include "common/failure.h"
#include "common/numtext.h"
#include "engine/engine.h"
#include "engine/operators.h"

namespace {

using quorel::Failure;

class SilentDialogs : public quorel::UserDialogs {
  public:
    void message(const std::string&, const std::string&) override {}
    bool pause() override { return true; }
};

// The value bits or the failure number, and the read state of the queue.
template <typename F>
auto run(quorel::Engine& e, F f) {
    std::uint64_t bits = 0;
    int failure = 0;
    try {
        const double v = f();
        if (!std::isfinite(v)) __builtin_trap();
        bits = std::bit_cast<std::uint64_t>(v);
    } catch (const Failure& failed) {
        failure = failed.number();
        if (failure != quorel::kErrDomain && failure != quorel::kErrOverflow &&
            failure != quorel::kErrDivZero && failure != quorel::kErrMissing)
            __builtin_trap();
    }
    return std::tuple(bits, failure, e.FxQueue.front(), e.FxQueue.hasItems(), e.FxQueue.succeeded);
}

// The evaluation read literally: fetch, lower-case, look the token up in the
// operator table and apply its row; x (always finite here) and numbers are pushed.
double readingEval(quorel::Engine& e, double x) {
    quorel::Queue& q = e.FxQueue;
    q.SetValue();
    if (e.sequenceCut() || e.refused()) throw Failure(quorel::kErrMissing);
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

std::string withoutBlanks(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (!quorel::isSkippedChar(c)) out += c;
    }
    return out;
}

std::string queued(quorel::Engine& e) {
    std::string text;
    for (quorel::Value t = e.FxQueue.fetch(); e.FxQueue.succeeded; t = e.FxQueue.fetch()) {
        text += quorel::valueText(t);
        text += '\n';
    }
    e.FxQueue.SetValue();
    return text;
}

// The first byte of a UTF-8 text at the character `position` (from 1).
std::size_t byteOf(const std::string& text, int position) {
    int p = 1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (p == position) return i;
        p += (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
    }
    return text.size();
}

void checkTranslation(quorel::Engine& engine, quorel::Engine& other, const std::string& text) {
    using quorel::FxProblemKind;
    const quorel::FxProblem problem = engine.problem();
    if (problem.kind == FxProblemKind::Empty) {
        if (!withoutBlanks(text).empty()) __builtin_trap();
    } else if (problem.kind != FxProblemKind::None) {
        const std::size_t at = byteOf(text, problem.position);
        if (problem.piece.empty() || text.compare(at, problem.piece.size(), problem.piece) != 0)
            __builtin_trap();
    }

    const std::string tokens = queued(engine);
    other.Fx_Postfix(withoutBlanks(text));
    if (queued(other) != tokens || other.problem().kind != problem.kind ||
        other.problem().piece != withoutBlanks(problem.piece) ||
        other.sequenceCut() != engine.sequenceCut())
        __builtin_trap();

    if (!problem.bracketed.empty()) {
        other.Fx_Postfix(problem.bracketed);
        if (other.problem().kind != FxProblemKind::None &&
            other.problem().position <= problem.position)
            __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static SilentDialogs dialogs;
    static quorel::Engine engine(dialogs);
    static quorel::Engine other(dialogs);

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
        checkTranslation(engine, other, text);
    }
    const bool typed = text.empty() || text[0] != '\x01';
    const bool accepted =
        typed && engine.problem().kind == quorel::FxProblemKind::None && !engine.sequenceCut();
    for (double x : {0.0, 1.0, -2.5, 1e300, 0.75, -1e-160}) {
        const auto fast = run(engine, [&] { return engine.Fx_Eval(x); });
        engine.setFusion(false);
        const auto stepwise = run(engine, [&] { return engine.Fx_Eval(x); });
        engine.setFusion(true);
        const auto reading = run(engine, [&] { return readingEval(engine, x); });
        if (fast != reading || stepwise != reading) __builtin_trap();
        if (accepted && std::get<1>(fast) == quorel::kErrMissing) __builtin_trap();
        if (typed && !accepted && std::get<1>(fast) == 0) __builtin_trap();
        run(engine, [&] { return engine.Fx_Diff(x); });
    }
    return 0;
}
