// Feeds arbitrary bytes to one long-lived engine as f(x) text (or, after a
// leading byte 1, as tokens added to its queue directly) and evaluates f and
// its slope at a few x. Only the engine's failure numbers and finite results
// may come out, and the evaluation loop and the slow reference evaluator
// (tests/support/reference_eval.h) must agree: same value bits, same failure,
// same read state.
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
#include "tests/support/reference_eval.h"

namespace {

// The engine's outcome, after checking that only its failure numbers and
// finite values come out.
template <typename F>
auto run(quorel::Engine& e, F f) {
    const auto outcome = quorel::testing::outcomeAndReadState(e, f);
    const int failure = std::get<1>(outcome);
    if (failure != 0 && failure != quorel::kErrDomain && failure != quorel::kErrOverflow &&
        failure != quorel::kErrDivZero && failure != quorel::kErrMissing)
        __builtin_trap();
    if (failure == 0 && !std::isfinite(std::bit_cast<double>(std::get<0>(outcome))))
        __builtin_trap();
    return outcome;
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
        // A run of stray continuation bytes and the piece after it share a
        // position: the piece stands at the run or right after it.
        std::size_t at = byteOf(text, problem.position);
        auto standsAt = [&](std::size_t i) {
            return text.compare(i, problem.piece.size(), problem.piece) == 0;
        };
        if (!standsAt(at)) {
            while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) ++at;
        }
        if (problem.piece.empty() || !standsAt(at)) __builtin_trap();
    }

    const std::string tokens = queued(engine);
    other.Fx_Postfix(withoutBlanks(text));
    if (queued(other) != tokens || other.problem().kind != problem.kind ||
        other.problem().piece != withoutBlanks(problem.piece))
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
    static quorel::Engine engine;
    static quorel::Engine other;

    const std::string text(reinterpret_cast<const char*>(data), size);
    const bool typed = text.empty() || text[0] != '\x01';
    if (!typed) {
        // Tokens added to the queue directly, one per line, as a caller of
        // the containers may do: empty tokens, odd cases, a full ring.
        for (std::size_t from = 1, to = 0; to != std::string::npos; from = to + 1) {
            to = text.find('\n', from);
            engine.FxQueue.add(text.substr(from, to == std::string::npos ? to : to - from));
        }
        engine.FxQueue.HoldValue();
    } else {
        const quorel::Translation t = engine.Fx_Postfix(text);
        if (t.problem.kind != engine.problem().kind ||
            t.tokens.size() != static_cast<std::size_t>(engine.FxQueue.unread()))
            __builtin_trap();
        checkTranslation(engine, other, text);
    }
    const quorel::FxProblemKind kind = engine.problem().kind;
    const bool accepted = typed && kind == quorel::FxProblemKind::None;
    const bool refused = typed && !accepted && kind != quorel::FxProblemKind::BeyondRange;
    for (double x : {0.0, 1.0, -2.5, 1e300, 0.75, -1e-160}) {
        const auto loop = run(engine, [&] { return engine.Fx_Eval(x); });
        const auto reference =
            run(engine, [&] { return quorel::testing::referenceEval(engine, x, refused); });
        if (loop != reference) __builtin_trap();
        if (accepted && std::get<1>(loop) == quorel::kErrMissing) __builtin_trap();
        if (typed && !accepted && std::get<1>(loop) == 0) __builtin_trap();
        run(engine, [&] { return engine.Fx_Diff(x); });
    }
    return 0;
}
