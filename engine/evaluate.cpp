// Evaluation walks the compiled slots of FxQueue instead of fetching and
// parsing each token; the queue's read state is set afterwards as if every
// token up to the end (or up to the failing one) had been fetched.
//
// Each translation also gets a fused form: constant groups such as sin(3) are
// computed once, and common groups (x^c, c*x, "top op c") become single
// steps. A fused step does the same operations in the same order as its
// tokens and fails at the same slot with the same number, so values and
// failures are those of the token-by-token walk.
#include <cmath>
#include <type_traits>
#include <vector>

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

void Engine::fuseSequence() {
    // What the tokens fused so far leave on the operand stack, one entry per
    // group: a constant, x, a single step pushing one value without reading
    // below it, or anything else.
    enum class Kind { Const, Var, Single, Other };
    struct Group {
        int slot;  // first slot
        int width;
        Kind kind;
        double value;
    };
    std::vector<Group> groups;
    groups.reserve(Queue::kRing);

    auto& out = FxQueue.fusedSlots();
    const int rear = FxQueue.rear();
    int slot = FxQueue.front();
    int count = 0;
    if (FxQueue.hasItems()) {
        count = rear - slot;
        if (count <= 0) count += Queue::kRing;
    }
    for (; count > 0; --count) {
        if (++slot == Queue::kRing) slot = 0;
        const CompiledToken& t = FxQueue.compiledAt(slot);
        out[slot] = t;
        if (t.op == TokenOp::End) break;
        Group* last = groups.empty() ? nullptr : &groups.back();
        Group* second = groups.size() < 2 ? nullptr : &groups[groups.size() - 2];

        if (t.op == TokenOp::Number) {
            groups.push_back({slot, 1, Kind::Const, t.number});
        } else if (t.op == TokenOp::X) {
            groups.push_back({slot, 1, Kind::Var, 0.0});
        } else if (isUnary(t.op)) {
            double r;
            if (last != nullptr && last->kind == Kind::Const && unaryValue(t.op, last->value, r)) {
                last->width += 1;
                last->value = r;
                out[last->slot] = {TokenOp::Number, static_cast<std::uint16_t>(last->width), r};
            } else {
                groups.push_back({slot, 1, Kind::Other, 0.0});
            }
        } else if (isBinary(t.op)) {
            const Arith k =
                static_cast<Arith>(static_cast<int>(t.op) - static_cast<int>(TokenOp::Add));
            const Kind k1 = last != nullptr ? last->kind : Kind::Other;
            const Kind k2 = second != nullptr ? second->kind : Kind::Other;
            if (k1 == Kind::Const || k1 == Kind::Var) {
                const int width = last->width + 1;
                if (k2 == Kind::Const || k2 == Kind::Var) {
                    const int pairWidth = second->width + width;
                    const auto w = static_cast<std::uint16_t>(pairWidth);
                    double r = 0.0;
                    if (k1 == Kind::Const && k2 == Kind::Const &&
                        std::isfinite(r = arithAt(k, second->value, last->value))) {
                        out[second->slot] = {TokenOp::Number, w, r};
                        *second = {second->slot, pairWidth, Kind::Const, r};
                        groups.pop_back();
                        continue;
                    }
                    if (k1 == Kind::Const && k2 == Kind::Var) {
                        out[second->slot] = {fusedOp(TokenOp::XAddC, k), w, last->value};
                        *second = {second->slot, pairWidth, Kind::Single, 0.0};
                        groups.pop_back();
                        continue;
                    }
                    if (k1 == Kind::Var && k2 == Kind::Const) {
                        out[second->slot] = {fusedOp(TokenOp::CAddX, k), w, second->value};
                        *second = {second->slot, pairWidth, Kind::Single, 0.0};
                        groups.pop_back();
                        continue;
                    }
                }
                // top op c, top op x
                const TokenOp form = k1 == Kind::Const ? TokenOp::AddC : TokenOp::AddX;
                out[last->slot] = {fusedOp(form, k), static_cast<std::uint16_t>(width),
                                   last->value};
                *last = {last->slot, width, Kind::Other, 0.0};
            } else if (k1 == Kind::Single && k2 == Kind::Const) {
                // c G op: G reads nothing below c, so it can run first and
                // the operator takes c as its left operand.
                CompiledToken g = out[last->slot];
                g.width = static_cast<std::uint16_t>(second->width + last->width);
                out[second->slot] = g;
                out[slot] = {fusedOp(TokenOp::CAddTop, k), 1, second->value};
                *second = {second->slot, second->width + last->width + 1, Kind::Other, 0.0};
                groups.pop_back();
            } else {
                groups.push_back({slot, 1, Kind::Other, 0.0});
            }
        } else {
            groups.push_back({slot, 1, Kind::Other, 0.0});
        }
    }
    FxQueue.keepFused();
}

double Engine::Fx_Eval(double x) {
    clearUpperVectorState();
    FxQueue.SetValue();
    if (cut_) throw Failure(kErrMissing);

    const int rear = FxQueue.rear();
    int slot = FxQueue.front();
    int count = 0;
    if (FxQueue.hasItems()) {
        count = rear - slot;
        if (count <= 0) count += Queue::kRing;
    }
    // The fused steps take x as finite; a non-finite x fails at its own token.
    const bool xFinite = std::isfinite(x);
    const CompiledToken* steps = FxQueue.steps(xFinite);

    // n operands: the top one in `top`, the ones below it in below[1..n-1].
    double below[kMaxOperands];
    double top = 0.0;
    int n = 0;
    auto fail = [&](int number) { failAt(FxQueue, slot, rear, number); };
    auto push = [&](double v) {
        if (n < kMaxOperands) {
            below[n] = top;
            top = v;
            ++n;
        }
    };
    auto need = [&](int operands) {
        if (n < operands) fail(kErrMissing);
    };
    auto op = [&](auto tag, double a, double b) {
        constexpr Arith k = decltype(tag)::value;
        const double r = arith<k>(a, b);
        if (!std::isfinite(r)) fail(arithFailure(k, a, b));
        return r;
    };
    constexpr ArithTag<Arith::Add> add;
    constexpr ArithTag<Arith::Sub> sub;
    constexpr ArithTag<Arith::Mul> mul;
    constexpr ArithTag<Arith::Div> div;
    constexpr ArithTag<Arith::Pow> pow;

    bool ended = false;
    while (count > 0) {
        int first = slot + 1;
        if (first == Queue::kRing) first = 0;
        const CompiledToken& t = steps[first];
        slot = first + t.width - 1;
        if (slot >= Queue::kRing) slot -= Queue::kRing;
        count -= t.width;
        switch (t.op) {
            case TokenOp::Number:
                push(t.number);
                break;
            case TokenOp::X:
                if (!xFinite) fail(kErrOverflow);
                push(x);
                break;
            case TokenOp::Add:
                need(2), top = op(add, below[--n], top);
                break;
            case TokenOp::Sub:
                need(2), top = op(sub, below[--n], top);
                break;
            case TokenOp::Mul:
                need(2), top = op(mul, below[--n], top);
                break;
            case TokenOp::Div:
                need(2), top = op(div, below[--n], top);
                break;
            case TokenOp::Pow:
                need(2), top = op(pow, below[--n], top);
                break;
            case TokenOp::UPlus:
                need(1);
                break;
            case TokenOp::UMinus:
                need(1), top = 0.0 - top;
                break;
            case TokenOp::Sin:
                need(1), top = std::sin(top);
                break;
            case TokenOp::Cos:
                need(1), top = std::cos(top);
                break;
            case TokenOp::Tan:
                need(1), top = std::tan(top);
                if (!std::isfinite(top)) fail(kErrOverflow);
                break;
            case TokenOp::Atn:
                need(1), top = std::atan(top);
                break;
            case TokenOp::Exp:
                need(1), top = std::exp(top);
                if (!std::isfinite(top)) fail(kErrOverflow);
                break;
            case TokenOp::Sqr:
                need(1);
                if (top < 0.0) fail(kErrDomain);
                top = std::sqrt(top);
                break;
            case TokenOp::Log:
                need(1);
                if (top <= 0.0) fail(kErrDomain);
                top = std::log(top);
                break;
            case TokenOp::AddC:
                need(1), top = op(add, top, t.number);
                break;
            case TokenOp::SubC:
                need(1), top = op(sub, top, t.number);
                break;
            case TokenOp::MulC:
                need(1), top = op(mul, top, t.number);
                break;
            case TokenOp::DivC:
                need(1), top = op(div, top, t.number);
                break;
            case TokenOp::PowC:
                need(1), top = op(pow, top, t.number);
                break;
            case TokenOp::AddX:
                need(1), top = op(add, top, x);
                break;
            case TokenOp::SubX:
                need(1), top = op(sub, top, x);
                break;
            case TokenOp::MulX:
                need(1), top = op(mul, top, x);
                break;
            case TokenOp::DivX:
                need(1), top = op(div, top, x);
                break;
            case TokenOp::PowX:
                need(1), top = op(pow, top, x);
                break;
            case TokenOp::XAddC:
                push(op(add, x, t.number));
                break;
            case TokenOp::XSubC:
                push(op(sub, x, t.number));
                break;
            case TokenOp::XMulC:
                push(op(mul, x, t.number));
                break;
            case TokenOp::XDivC:
                push(op(div, x, t.number));
                break;
            case TokenOp::XPowC:
                push(op(pow, x, t.number));
                break;
            case TokenOp::CAddX:
                push(op(add, t.number, x));
                break;
            case TokenOp::CSubX:
                push(op(sub, t.number, x));
                break;
            case TokenOp::CMulX:
                push(op(mul, t.number, x));
                break;
            case TokenOp::CDivX:
                push(op(div, t.number, x));
                break;
            case TokenOp::CPowX:
                push(op(pow, t.number, x));
                break;
            case TokenOp::CAddTop:
                top = op(add, t.number, top);
                break;
            case TokenOp::CSubTop:
                top = op(sub, t.number, top);
                break;
            case TokenOp::CMulTop:
                top = op(mul, t.number, top);
                break;
            case TokenOp::CDivTop:
                top = op(div, t.number, top);
                break;
            case TokenOp::CPowTop:
                top = op(pow, t.number, top);
                break;
            case TokenOp::BadNumber:
                fail(kErrOverflow);
                break;
            case TokenOp::End:
                ended = true;
                count = 0;
                break;
        }
    }

    if (ended) {
        FxQueue.setReadState(slot, slot != rear);
        FxQueue.succeeded = true;
    } else {
        FxQueue.setReadState(rear, false);
        FxQueue.succeeded = false;
    }
    if (n == 0) throw Failure(kErrMissing);
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
