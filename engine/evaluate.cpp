// Evaluation does not fetch and parse tokens: each translation compiles the
// queue's compiled slots once into a straight list of steps, and Fx_Eval walks
// that list, then sets the queue's read state as if every token up to the end
// (or up to the failing one) had been fetched.
//
// The list evaluation walks has groups of tokens fused: constant groups such
// as sin(3) are computed once, and common groups (x^c, c*x, "top op c")
// become single steps. A fused step does its tokens' operations in their
// order and fails at the same slot with the same number, so values, failures
// and read positions are those of the token-by-token reading.
#include <array>
#include <cmath>
#include <type_traits>

#include "common/failure.h"
#include "engine/cpu_state.h"
#include "engine/engine.h"

namespace quorel {
namespace {

constexpr int kMaxOperands = Stack::kMaxItems;

enum class Arith { Add, Sub, Mul, Div, Pow };

template <Arith K>
using ArithTag = std::integral_constant<Arith, K>;

template <Arith K>
[[gnu::always_inline]] inline double arith(double a, double b) {
    if constexpr (K == Arith::Add) return a + b;
    if constexpr (K == Arith::Sub) return a - b;
    if constexpr (K == Arith::Mul) return a * b;
    if constexpr (K == Arith::Div) return a / b;
    // a*a is the correctly rounded square.
    if constexpr (K == Arith::Pow) return b == 2.0 ? a * a : std::pow(a, b);
}

// Number of the failure for an operation whose result is not finite.
int arithFailure(Arith k, double a, double b) {
    if (k == Arith::Div && b == 0.0 && a != 0.0) return kErrDivZero;
    if (k == Arith::Pow) {
        if (a < 0.0 && b != std::trunc(b)) return kErrDomain;
        if (a == 0.0 && b < 0.0) return kErrDivZero;
    }
    return kErrOverflow;
}

double arithAt(Arith k, double a, double b) {
    switch (k) {
        case Arith::Add:
            return arith<Arith::Add>(a, b);
        case Arith::Sub:
            return arith<Arith::Sub>(a, b);
        case Arith::Mul:
            return arith<Arith::Mul>(a, b);
        case Arith::Div:
            return arith<Arith::Div>(a, b);
        case Arith::Pow:
            return arith<Arith::Pow>(a, b);
    }
    return 0.0;
}

bool isBinary(TokenOp op) {
    return op >= TokenOp::Add && op <= TokenOp::Pow;
}
bool isUnary(TokenOp op) {
    return op >= TokenOp::UPlus && op <= TokenOp::Log;
}

// Step code of a fused form: `first` is the form's Add step.
TokenOp fusedOp(TokenOp first, Arith k) {
    return static_cast<TokenOp>(static_cast<int>(first) + static_cast<int>(k));
}

// f(a) as the walk computes it; false where the walk would fail.
bool unaryValue(TokenOp f, double a, double& r) {
    switch (f) {
        case TokenOp::UPlus:
            r = a;
            return true;
        case TokenOp::UMinus:
            r = 0.0 - a;
            return true;
        case TokenOp::Sin:
            r = std::sin(a);
            return true;
        case TokenOp::Cos:
            r = std::cos(a);
            return true;
        case TokenOp::Tan:
            r = std::tan(a);
            return std::isfinite(r);
        case TokenOp::Atn:
            r = std::atan(a);
            return true;
        case TokenOp::Exp:
            r = std::exp(a);
            return std::isfinite(r);
        case TokenOp::Sqr:
            if (a < 0.0) return false;
            r = std::sqrt(a);
            return true;
        case TokenOp::Log:
            if (a <= 0.0) return false;
            r = std::log(a);
            return true;
        default:
            return false;
    }
}

[[noreturn]] __attribute__((noinline, cold)) void failAt(Queue& q, int slot, int rear, int number) {
    q.setReadState(slot, slot != rear);
    q.succeeded = true;
    throw Failure(number);
}

}  // namespace

void Engine::compileSequence() {
    programReady_ = true;
    compiledGeneration_ = FxQueue.generation();

    // One step per token. How many operands each token finds does not depend
    // on x, so a missing operand becomes a step that fails, and the program
    // stops there: nothing after it is ever read.
    Program& p = plain_;
    p.size = 0;
    const int rear = FxQueue.rear();
    int slot = FxQueue.front();
    int count = 0;
    if (FxQueue.hasItems()) {
        count = rear - slot;
        if (count <= 0) count += Queue::kRing;
    }
    p.endFront = count > 0 ? rear : slot;
    p.endHasItems = false;
    p.endSucceeded = false;
    int depth = 0;
    for (; count > 0; --count) {
        if (++slot == Queue::kRing) slot = 0;
        const CompiledToken& t = FxQueue.compiledAt(slot);
        const Step step{t.op, static_cast<std::int16_t>(slot), t.number};
        if (t.op == TokenOp::End) {
            p.endFront = slot;
            p.endHasItems = slot != rear;
            p.endSucceeded = true;
            break;
        }
        if (t.op == TokenOp::Number || t.op == TokenOp::X) {
            // A full operand stack drops the value (500 tokens never fill it).
            if (depth < kMaxOperands) {
                p.steps[p.size++] = step;
                ++depth;
            }
            continue;
        }
        const int needs = isBinary(t.op) ? 2 : isUnary(t.op) ? 1 : 0;
        if (depth < needs) {
            p.steps[p.size++] = {TokenOp::Missing, step.slot, 0.0};
            break;
        }
        p.steps[p.size++] = step;
        if (t.op == TokenOp::BadNumber) break;
        depth -= needs - 1;
    }
    p.emptyAtEnd = depth == 0;

    // The same with groups fused. Each fused step still computes the group's
    // operations in the group's order, and fails at the slot of the group's
    // operator with its number.
    enum class Kind { Const, Var, Single, Other };  // what a step leaves on top
    std::array<Kind, Queue::kRing> kinds;
    Program& f = fused_;
    f.size = 0;
    f.endFront = p.endFront;
    f.endHasItems = p.endHasItems;
    f.endSucceeded = p.endSucceeded;
    f.emptyAtEnd = p.emptyAtEnd;
    auto emit = [&](const Step& step, Kind kind) {
        kinds[f.size] = kind;
        f.steps[f.size++] = step;
    };
    for (int i = 0; i < p.size; ++i) {
        const Step& step = p.steps[i];
        const Kind k1 = f.size >= 1 ? kinds[f.size - 1] : Kind::Other;
        const Kind k2 = f.size >= 2 ? kinds[f.size - 2] : Kind::Other;
        Step* last = f.size >= 1 ? &f.steps[f.size - 1] : nullptr;
        Step* second = f.size >= 2 ? &f.steps[f.size - 2] : nullptr;
        if (step.op == TokenOp::Number) {
            emit(step, Kind::Const);
        } else if (step.op == TokenOp::X) {
            emit(step, Kind::Var);
        } else if (isUnary(step.op)) {
            double r;
            if (k1 == Kind::Const && unaryValue(step.op, last->number, r)) {
                last->number = r;
            } else {
                emit(step, Kind::Other);
            }
        } else if (isBinary(step.op)) {
            const auto k =
                static_cast<Arith>(static_cast<int>(step.op) - static_cast<int>(TokenOp::Add));
            double r = 0.0;
            if (k1 == Kind::Const && k2 == Kind::Const &&
                std::isfinite(r = arithAt(k, second->number, last->number))) {
                f.size -= 2;
                emit({TokenOp::Number, step.slot, r}, Kind::Const);
            } else if (k1 == Kind::Const && k2 == Kind::Var) {
                const double c = last->number;
                f.size -= 2;
                emit({fusedOp(TokenOp::XAddC, k), step.slot, c}, Kind::Single);
            } else if (k1 == Kind::Var && k2 == Kind::Const) {
                const double c = second->number;
                f.size -= 2;
                emit({fusedOp(TokenOp::CAddX, k), step.slot, c}, Kind::Single);
            } else if (k1 == Kind::Single && k2 == Kind::Const) {
                // c G op: G reads nothing below c, so it can run first and
                // the operator takes c as its left operand.
                const Step g = *last;
                const double c = second->number;
                f.size -= 2;
                emit(g, Kind::Other);
                emit({fusedOp(TokenOp::CAddTop, k), step.slot, c}, Kind::Other);
            } else if (k1 == Kind::Const || k1 == Kind::Var) {
                const TokenOp form = k1 == Kind::Const ? TokenOp::AddC : TokenOp::AddX;
                const double c = last->number;
                f.size -= 1;
                emit({fusedOp(form, k), step.slot, c}, Kind::Other);
            } else {
                emit(step, Kind::Other);
            }
        } else {
            emit(step, Kind::Other);
        }
    }
}

double Engine::Fx_Eval(double x) {
    clearUpperVectorState();
    FxQueue.SetValue();
    if (cut_) throw Failure(kErrMissing);
    if (!programReady_ || FxQueue.generation() != compiledGeneration_) compileSequence();

    // The fused steps take x as finite; a non-finite x fails at its own token.
    const bool xFinite = std::isfinite(x);
    const Program& program = xFinite ? fused_ : plain_;
    const int rear = FxQueue.rear();

    // n operands: the top one in `top`, the ones below it in below[1..n-1].
    // The compiled steps never find too few operands and never exceed 500.
    double below[kMaxOperands];
    double top = 0.0;
    int n = 0;
    const Step* step = program.steps.data();
    const Step* const end = step + program.size;

#define QUOREL_INLINE __attribute__((always_inline))
    auto fail = [&](int number) QUOREL_INLINE { failAt(FxQueue, step->slot, rear, number); };
    auto push = [&](double v) QUOREL_INLINE {
        below[n++] = top;
        top = v;
    };
    auto op = [&](auto tag, double a, double b) QUOREL_INLINE {
        constexpr Arith k = decltype(tag)::value;
        const double r = arith<k>(a, b);
        if (!std::isfinite(r)) fail(arithFailure(k, a, b));
        return r;
    };
#undef QUOREL_INLINE
    constexpr ArithTag<Arith::Add> add;
    constexpr ArithTag<Arith::Sub> sub;
    constexpr ArithTag<Arith::Mul> mul;
    constexpr ArithTag<Arith::Div> div;
    constexpr ArithTag<Arith::Pow> pow;

    for (; step != end; ++step) {
        const double c = step->number;
        switch (step->op) {
            case TokenOp::Number:
                push(c);
                break;
            case TokenOp::X:
                if (!xFinite) fail(kErrOverflow);
                push(x);
                break;
            case TokenOp::Add:
                top = op(add, below[--n], top);
                break;
            case TokenOp::Sub:
                top = op(sub, below[--n], top);
                break;
            case TokenOp::Mul:
                top = op(mul, below[--n], top);
                break;
            case TokenOp::Div:
                top = op(div, below[--n], top);
                break;
            case TokenOp::Pow:
                top = op(pow, below[--n], top);
                break;
            case TokenOp::UPlus:
                break;
            case TokenOp::UMinus:
                top = 0.0 - top;
                break;
            case TokenOp::Sin:
                top = std::sin(top);
                break;
            case TokenOp::Cos:
                top = std::cos(top);
                break;
            case TokenOp::Tan:
                top = std::tan(top);
                if (!std::isfinite(top)) fail(kErrOverflow);
                break;
            case TokenOp::Atn:
                top = std::atan(top);
                break;
            case TokenOp::Exp:
                top = std::exp(top);
                if (!std::isfinite(top)) fail(kErrOverflow);
                break;
            case TokenOp::Sqr:
                if (top < 0.0) fail(kErrDomain);
                top = std::sqrt(top);
                break;
            case TokenOp::Log:
                if (top <= 0.0) fail(kErrDomain);
                top = std::log(top);
                break;
            case TokenOp::AddC:
                top = op(add, top, c);
                break;
            case TokenOp::SubC:
                top = op(sub, top, c);
                break;
            case TokenOp::MulC:
                top = op(mul, top, c);
                break;
            case TokenOp::DivC:
                top = op(div, top, c);
                break;
            case TokenOp::PowC:
                top = op(pow, top, c);
                break;
            case TokenOp::AddX:
                top = op(add, top, x);
                break;
            case TokenOp::SubX:
                top = op(sub, top, x);
                break;
            case TokenOp::MulX:
                top = op(mul, top, x);
                break;
            case TokenOp::DivX:
                top = op(div, top, x);
                break;
            case TokenOp::PowX:
                top = op(pow, top, x);
                break;
            case TokenOp::XAddC:
                push(op(add, x, c));
                break;
            case TokenOp::XSubC:
                push(op(sub, x, c));
                break;
            case TokenOp::XMulC:
                push(op(mul, x, c));
                break;
            case TokenOp::XDivC:
                push(op(div, x, c));
                break;
            case TokenOp::XPowC:
                push(op(pow, x, c));
                break;
            case TokenOp::CAddX:
                push(op(add, c, x));
                break;
            case TokenOp::CSubX:
                push(op(sub, c, x));
                break;
            case TokenOp::CMulX:
                push(op(mul, c, x));
                break;
            case TokenOp::CDivX:
                push(op(div, c, x));
                break;
            case TokenOp::CPowX:
                push(op(pow, c, x));
                break;
            case TokenOp::CAddTop:
                top = op(add, c, top);
                break;
            case TokenOp::CSubTop:
                top = op(sub, c, top);
                break;
            case TokenOp::CMulTop:
                top = op(mul, c, top);
                break;
            case TokenOp::CDivTop:
                top = op(div, c, top);
                break;
            case TokenOp::CPowTop:
                top = op(pow, c, top);
                break;
            case TokenOp::Missing:
                fail(kErrMissing);
                break;
            case TokenOp::BadNumber:
                fail(kErrOverflow);
                break;
            case TokenOp::End:
                break;
        }
    }

    FxQueue.setReadState(program.endFront, program.endHasItems);
    FxQueue.succeeded = program.endSucceeded;
    if (program.emptyAtEnd) throw Failure(kErrMissing);
    return top;
}

double Engine::Fx_Diff(double x) {
    double h = 0.001;
    if (x != 0.0) {
        // A quotient of two natural logarithms: for x = 1000 it is just below 3.
        const double q = std::log(std::fabs(x)) / std::log(10.0);
        h = std::pow(10.0, std::floor(q) - 3.0);
        if (h == 0.0) h = 0.001;
    }
    const double below = x - h;
    if (!std::isfinite(below)) throw Failure(kErrOverflow);
    const double fm = Fx_Eval(below);
    const double above = x + h;
    if (!std::isfinite(above)) throw Failure(kErrOverflow);
    const double fp = Fx_Eval(above);
    const double d = fp - fm;
    if (!std::isfinite(d)) throw Failure(kErrOverflow);
    const double r = d / (2.0 * h);
    if (!std::isfinite(r)) throw Failure(kErrOverflow);
    return r;
}

}  // namespace quorel
