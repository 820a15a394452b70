// Evaluation walks the compiled slots of FxQueue instead of fetching and
// parsing each token; the queue's read state is set afterwards as if every
// token up to the end (or up to the failing one) had been fetched.
#include <cmath>

#include "common/failure.h"
#include "engine/engine.h"

namespace quorel {
namespace {

constexpr int kMaxOperands = Stack::kMaxItems;

[[noreturn]] __attribute__((noinline, cold)) void failAt(Queue& q, int slot, int rear, int number) {
    q.setReadState(slot, slot != rear);
    q.succeeded = true;
    throw Failure(number);
}

// Number of the failure for a power whose result is not finite.
int powFailure(double a, double b) {
    if (a < 0.0 && b != std::trunc(b)) return kErrDomain;
    if (a == 0.0 && b < 0.0) return kErrDivZero;
    return kErrOverflow;
}

int divFailure(double a, double b) {
    if (b == 0.0 && a != 0.0) return kErrDivZero;
    return kErrOverflow;
}

}  // namespace

double Engine::Fx_Eval(double x) {
    FxQueue.SetValue();
    if (cut_) throw Failure(kErrMissing);

    const int rear = FxQueue.rear();
    int slot = FxQueue.front();
    int count = 0;
    if (FxQueue.hasItems()) {
        count = rear - slot;
        if (count <= 0) count += Queue::kRing;
    }
    const bool xFinite = std::isfinite(x);

    double st[kMaxOperands];
    int top = 0;
    auto push = [&](double v) {
        if (top < kMaxOperands) st[top++] = v;
    };

    bool ended = false;
    for (; count > 0; --count) {
        if (++slot == Queue::kRing) slot = 0;
        const CompiledToken& t = FxQueue.compiledAt(slot);
        switch (t.op) {
            case TokenOp::End:
                ended = true;
                count = 1;
                break;
            case TokenOp::Number:
                push(t.number);
                break;
            case TokenOp::BadNumber:
                failAt(FxQueue, slot, rear, kErrOverflow);
            case TokenOp::X:
                if (!xFinite) failAt(FxQueue, slot, rear, kErrOverflow);
                push(x);
                break;
            case TokenOp::UPlus:
                if (top < 1) failAt(FxQueue, slot, rear, kErrMissing);
                break;
            case TokenOp::UMinus:
                if (top < 1) failAt(FxQueue, slot, rear, kErrMissing);
                st[top - 1] = 0.0 - st[top - 1];
                break;
            case TokenOp::Sin:
            case TokenOp::Cos:
            case TokenOp::Tan:
            case TokenOp::Atn:
            case TokenOp::Exp:
            case TokenOp::Sqr:
            case TokenOp::Log: {
                if (top < 1) failAt(FxQueue, slot, rear, kErrMissing);
                const double a = st[top - 1];
                double r;
                switch (t.op) {
                    case TokenOp::Sin:
                        r = std::sin(a);
                        break;
                    case TokenOp::Cos:
                        r = std::cos(a);
                        break;
                    case TokenOp::Tan:
                        r = std::tan(a);
                        break;
                    case TokenOp::Atn:
                        r = std::atan(a);
                        break;
                    case TokenOp::Exp:
                        r = std::exp(a);
                        break;
                    case TokenOp::Sqr:
                        if (a < 0.0) failAt(FxQueue, slot, rear, kErrDomain);
                        r = std::sqrt(a);
                        break;
                    default:
                        if (a <= 0.0) failAt(FxQueue, slot, rear, kErrDomain);
                        r = std::log(a);
                        break;
                }
                if (!std::isfinite(r)) failAt(FxQueue, slot, rear, kErrOverflow);
                st[top - 1] = r;
                break;
            }
            case TokenOp::Add:
            case TokenOp::Sub:
            case TokenOp::Mul:
            case TokenOp::Div:
            case TokenOp::Pow: {
                if (top < 2) failAt(FxQueue, slot, rear, kErrMissing);
                const double b = st[--top];
                const double a = st[top - 1];
                double r;
                int failure = kErrOverflow;
                switch (t.op) {
                    case TokenOp::Add:
                        r = a + b;
                        break;
                    case TokenOp::Sub:
                        r = a - b;
                        break;
                    case TokenOp::Mul:
                        r = a * b;
                        break;
                    case TokenOp::Div:
                        r = a / b;
                        if (!std::isfinite(r)) failure = divFailure(a, b);
                        break;
                    default:
                        // a*a is the correctly rounded square.
                        r = b == 2.0 ? a * a : std::pow(a, b);
                        if (!std::isfinite(r)) failure = powFailure(a, b);
                        break;
                }
                if (!std::isfinite(r)) failAt(FxQueue, slot, rear, failure);
                st[top - 1] = r;
                break;
            }
        }
    }

    if (ended) {
        FxQueue.setReadState(slot, slot != rear);
        FxQueue.succeeded = true;
    } else {
        FxQueue.setReadState(rear, false);
        FxQueue.succeeded = false;
    }
    if (top == 0) throw Failure(kErrMissing);
    return st[top - 1];
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
