// Evaluation does not fetch and parse tokens: each translation compiles the
// queue's compiled slots once into a list of steps, and Fx_Eval runs that
// list, then sets the queue's read state as if every token up to the end (or
// up to the failing one) had been fetched.
//
// A step is a small function that does its work and then calls the next
// step's function as its very last action, which compiles to a jump: the
// list runs as threaded code with the top operand in a register. The step
// functions are generated from one template per form, for every row of the
// operator table the form fits.
//
// Two lists are compiled. The reference list has one step per token. The
// fused list keeps numbers and x as operands of the operator that takes them
// instead of pushing them (x^3, 2*x, "top - c" are single steps) and computes
// constant groups such as sin(3) once. Every operation still runs, in the
// same order, on the same operand values, and fails at its own token's slot
// with its own number, so both lists give the same value bits, failures and
// read positions.
#include <array>
#include <cmath>
#include <utility>
#include <vector>

#include "common/failure.h"
#include "engine/cpu_state.h"
#include "engine/engine.h"
#include "engine/operators.h"
#include "engine/power.h"

namespace quorel {
namespace {

constexpr int kMaxOperands = Stack::kMaxItems;

struct Step;

// What a failing step needs to leave the read state at its token.
struct Run {
    Queue* queue;
    int rear;
};

// A step: s is the step itself, top the top operand, sp the free slot above
// the operands below top.
using StepFn = double (*)(const Step* s, double top, double x, double* sp, const Run& run);

struct Step {
    StepFn fn;
    double number;      // the number a step pushes or takes as its constant operand
    std::int16_t slot;  // the slot of the token whose failure the step raises
};

[[noreturn, gnu::noinline, gnu::cold]] void fail(const Step* s, const Run& run, int number) {
    run.queue->setReadState(s->slot, s->slot != run.rear);
    run.queue->succeeded = true;
    throw Failure(number);
}

[[gnu::always_inline]] inline double next(const Step* s, double top, double x, double* sp,
                                          const Run& run) {
    ++s;
    return s->fn(s, top, x, sp, run);
}

// The operation of a row, failing as the row says when its result is not finite.
template <int Row>
[[gnu::always_inline]] inline double apply(const Step* s, const Run& run, double a, double b) {
    constexpr OperatorRow row = kOperators[Row];
    const double r = row.evaluate(a, b);
    if (!std::isfinite(r)) [[unlikely]]
        fail(s, run, row.failure(a, b));
    return r;
}

// Where an operator step finds its operands and leaves its result. c is the
// step's number.
enum class Form : std::uint8_t {
    // Two operands.
    BelowTop,  // top = below op top, popping below
    TopConst,  // top = top op c
    TopX,      // top = top op x
    ConstTop,  // top = c op top
    XTop,      // top = x op top
    ConstX,    // push c op x
    XConst,    // push x op c
    XX,        // push x op x
    // One operand.
    OfTop,  // top = f(top)
    OfX,    // push f(x)
    Count
};
constexpr int kFormCount = static_cast<int>(Form::Count);
// Two-operand forms come first; the step table and `fits` rely on it.
static_assert(Form::BelowTop == Form{0} && Form::XX < Form::OfTop && Form::OfX < Form::Count);
static_assert(static_cast<int>(Form::OfTop) == 8 && kFormCount == 10);

constexpr int operandsOf(Form f) {
    return f < Form::OfTop ? 2 : 1;
}

constexpr bool pushes(Form f) {
    return f == Form::ConstX || f == Form::XConst || f == Form::XX || f == Form::OfX;
}

template <int Row, Form F>
double operate(const Step* s, double top, double x, double* sp, const Run& run) {
    const double c = s->number;
    double r;
    if constexpr (F == Form::BelowTop) {
        --sp;
        r = apply<Row>(s, run, *sp, top);
    } else if constexpr (F == Form::TopConst) {
        r = apply<Row>(s, run, top, c);
    } else if constexpr (F == Form::TopX) {
        r = apply<Row>(s, run, top, x);
    } else if constexpr (F == Form::ConstTop) {
        r = apply<Row>(s, run, c, top);
    } else if constexpr (F == Form::XTop) {
        r = apply<Row>(s, run, x, top);
    } else if constexpr (F == Form::ConstX) {
        r = apply<Row>(s, run, c, x);
    } else if constexpr (F == Form::XConst) {
        r = apply<Row>(s, run, x, c);
    } else if constexpr (F == Form::XX) {
        r = apply<Row>(s, run, x, x);
    } else if constexpr (F == Form::OfTop) {
        r = apply<Row>(s, run, top, 0.0);
    } else {
        static_assert(F == Form::OfX);
        r = apply<Row>(s, run, x, 0.0);
    }
    if constexpr (pushes(F)) *sp++ = top;
    return next(s, r, x, sp, run);
}

// The power of "^" for a whole exponent from 2 to 16, the step's number: the
// same product as power() computes, inlined where the processor has fused
// multiply-add.
constexpr int kPowerRow = operatorRow("^");
static_assert(kPowerRow >= 0 && kOperators[kPowerRow].operands == 2);

template <bool OnX>
[[gnu::always_inline]] inline double afterPower(const Step* s, double top, double x, double* sp,
                                                const Run& run, double a, double r) {
    if (!std::isfinite(r)) [[unlikely]]
        fail(s, run, kOperators[kPowerRow].failure(a, s->number));
    if constexpr (OnX) *sp++ = top;
    return next(s, r, x, sp, run);
}

template <bool OnX>
double wholePowerStep(const Step* s, double top, double x, double* sp, const Run& run) {
    const double a = OnX ? x : top;
    const int n = static_cast<int>(s->number);
    return afterPower<OnX>(s, top, x, sp, run, a, n == 2 ? a * a : wholePower(a, n));
}

#if defined(__x86_64__) || defined(__i386__)
template <bool OnX>
__attribute__((target("fma"))) double wholePowerStepFma(const Step* s, double top, double x,
                                                        double* sp, const Run& run) {
    const double a = OnX ? x : top;
    const int n = static_cast<int>(s->number);
    return afterPower<OnX>(s, top, x, sp, run, a, n == 2 ? a * a : wholePowerFma(a, n));
}
#endif

StepFn wholePowerFn(bool onX) {
#if defined(__x86_64__) || defined(__i386__)
    if (kHasFma) return onX ? wholePowerStepFma<true> : wholePowerStepFma<false>;
#endif
    return onX ? wholePowerStep<true> : wholePowerStep<false>;
}

double pushNumber(const Step* s, double top, double x, double* sp, const Run& run) {
    *sp++ = top;
    return next(s, s->number, x, sp, run);
}

// The reference list pushes x at its own token, and fails there when x is
// not finite. The fused list runs for a finite x only.
double pushX(const Step* s, double top, double x, double* sp, const Run& run) {
    if (!std::isfinite(x)) fail(s, run, kErrOverflow);
    *sp++ = top;
    return next(s, x, x, sp, run);
}

double failMissing(const Step* s, double, double, double*, const Run& run) {
    fail(s, run, kErrMissing);
}

double failBadNumber(const Step* s, double, double, double*, const Run& run) {
    fail(s, run, kErrOverflow);
}

double finish(const Step*, double top, double, double*, const Run&) {
    return top;
}

template <int Row, Form F>
constexpr StepFn formFn() {
    if constexpr (kOperators[Row].operands == operandsOf(F)) {
        return &operate<Row, F>;
    } else {
        return nullptr;
    }
}

template <int Row, std::size_t... F>
constexpr std::array<StepFn, kFormCount> rowFns(std::index_sequence<F...>) {
    return {formFn<Row, static_cast<Form>(F)>()...};
}

template <std::size_t... Row>
constexpr auto tableFns(std::index_sequence<Row...>) {
    return std::array<std::array<StepFn, kFormCount>, sizeof...(Row)>{
        rowFns<Row>(std::make_index_sequence<kFormCount>())...};
}

// The step function of every operator row in every form it fits.
constexpr auto kStepFns = tableFns(std::make_index_sequence<kOperatorCount>());

Step operatorStep(int row, Form form, int slot, double c = 0.0) {
    return {kStepFns[row][static_cast<int>(form)], c, static_cast<std::int16_t>(slot)};
}

// A token as evaluation reads it, after the operand count is checked.
struct Token {
    enum Kind { Number, X, Operator, Missing, BadNumber } kind;
    int row;
    double number;
    int slot;
};

}  // namespace

struct Engine::Compiled {
    std::vector<Step> plain;  // one step per token
    std::vector<Step> fused;
    // The read state evaluation leaves when no step fails.
    int endFront = 0;
    bool endHasItems = false;
    bool endSucceeded = false;
    bool emptyAtEnd = true;  // no operand left: failure 13 after reading
};

Engine::Engine(UserDialogs& dialogs) : dialogs_(dialogs) {}
Engine::~Engine() = default;

void Engine::compileSequence() {
    if (!compiled_) compiled_ = std::make_unique<Compiled>();
    Compiled& c = *compiled_;
    compiledGeneration_ = FxQueue.generation();

    // The tokens as evaluation reads them. How many operands each token
    // finds does not depend on x, so a missing operand is a token that fails,
    // and reading stops there: nothing after it is ever read.
    std::vector<Token> tokens;
    const int rear = FxQueue.rear();
    int slot = FxQueue.front();
    int count = FxQueue.unread();
    tokens.reserve(static_cast<std::size_t>(count));
    c.endFront = count > 0 ? rear : slot;
    c.endHasItems = false;
    c.endSucceeded = false;
    int depth = 0;
    for (; count > 0; --count) {
        if (++slot == Queue::kRing) slot = 0;
        const CompiledToken& t = FxQueue.compiledAt(slot);
        if (t.kind == SlotKind::End) {
            c.endFront = slot;
            c.endHasItems = slot != rear;
            c.endSucceeded = true;
            break;
        }
        if (t.kind == SlotKind::Number || t.kind == SlotKind::X) {
            // A full operand stack drops the value (500 tokens never fill it).
            if (depth < kMaxOperands) {
                tokens.push_back(
                    {t.kind == SlotKind::X ? Token::X : Token::Number, -1, t.number, slot});
                ++depth;
            }
            continue;
        }
        if (t.kind == SlotKind::BadNumber) {
            tokens.push_back({Token::BadNumber, -1, 0.0, slot});
            break;
        }
        const int needs = kOperators[t.row].operands;
        if (depth < needs) {
            tokens.push_back({Token::Missing, -1, 0.0, slot});
            break;
        }
        tokens.push_back({Token::Operator, t.row, 0.0, slot});
        depth -= needs - 1;
    }
    c.emptyAtEnd = depth == 0;

    auto failStep = [](const Token& t) {
        return Step{t.kind == Token::Missing ? failMissing : failBadNumber, 0.0,
                    static_cast<std::int16_t>(t.slot)};
    };

    std::vector<Step>& plain = c.plain;
    plain.clear();
    for (const Token& t : tokens) {
        const auto at = static_cast<std::int16_t>(t.slot);
        switch (t.kind) {
            case Token::Number:
                plain.push_back({pushNumber, t.number, at});
                break;
            case Token::X:
                plain.push_back({pushX, 0.0, at});
                break;
            case Token::Operator:
                plain.push_back(operatorStep(
                    t.row, kOperators[t.row].operands == 2 ? Form::BelowTop : Form::OfTop, t.slot));
                break;
            case Token::Missing:
            case Token::BadNumber:
                plain.push_back(failStep(t));
                break;
        }
    }
    plain.push_back({finish, 0.0, 0});

    // The fused list. Numbers and x are held back as operands of the
    // operator that takes them; only what an operator computes is pushed.
    // Held-back operands never fail, so the operations, and therefore the
    // failures, come in the same order as in the reference list.
    struct Operand {
        enum Kind { Const, Var, Computed } kind;
        double value;
    };
    std::vector<Operand> operands;
    operands.reserve(tokens.size());
    std::vector<Step>& fused = c.fused;
    fused.clear();
    auto materialize = [&](const Operand& o, int at) {
        if (o.kind == Operand::Const)
            fused.push_back({pushNumber, o.value, static_cast<std::int16_t>(at)});
        if (o.kind == Operand::Var) fused.push_back({pushX, 0.0, static_cast<std::int16_t>(at)});
    };
    for (const Token& t : tokens) {
        if (t.kind == Token::Number) {
            operands.push_back({Operand::Const, t.number});
            continue;
        }
        if (t.kind == Token::X) {
            operands.push_back({Operand::Var, 0.0});
            continue;
        }
        if (t.kind != Token::Operator) {
            fused.push_back(failStep(t));
            break;
        }
        const OperatorRow& row = kOperators[t.row];
        if (row.operands == 1) {
            Operand& a = operands.back();
            if (a.kind == Operand::Const) {
                const double r = row.evaluate(a.value, 0.0);
                if (std::isfinite(r)) {
                    a.value = r;
                    continue;
                }
                materialize(a, t.slot);
            }
            fused.push_back(
                operatorStep(t.row, a.kind == Operand::Var ? Form::OfX : Form::OfTop, t.slot));
            a = {Operand::Computed, 0.0};
            continue;
        }
        const Operand b = operands.back();
        operands.pop_back();
        Operand& a = operands.back();
        using K = Operand::Kind;
        const K ka = a.kind;
        const K kb = b.kind;
        if (ka == K::Const && kb == K::Const) {
            const double r = row.evaluate(a.value, b.value);
            if (std::isfinite(r)) {
                a.value = r;
                continue;
            }
            materialize(a, t.slot);
            fused.push_back(operatorStep(t.row, Form::TopConst, t.slot, b.value));
        } else if (ka == K::Const && kb == K::Var) {
            fused.push_back(operatorStep(t.row, Form::ConstX, t.slot, a.value));
        } else if (t.row == kPowerRow && kb == K::Const && isWholePowerExponent(b.value)) {
            fused.push_back(
                {wholePowerFn(ka == K::Var), b.value, static_cast<std::int16_t>(t.slot)});
        } else if (ka == K::Var && kb == K::Const) {
            fused.push_back(operatorStep(t.row, Form::XConst, t.slot, b.value));
        } else if (ka == K::Var && kb == K::Var) {
            fused.push_back(operatorStep(t.row, Form::XX, t.slot));
        } else if (ka == K::Const) {
            fused.push_back(operatorStep(t.row, Form::ConstTop, t.slot, a.value));
        } else if (ka == K::Var) {
            fused.push_back(operatorStep(t.row, Form::XTop, t.slot));
        } else if (kb == K::Const) {
            fused.push_back(operatorStep(t.row, Form::TopConst, t.slot, b.value));
        } else if (kb == K::Var) {
            fused.push_back(operatorStep(t.row, Form::TopX, t.slot));
        } else {
            fused.push_back(operatorStep(t.row, Form::BelowTop, t.slot));
        }
        a = {Operand::Computed, 0.0};
    }
    if (!operands.empty()) materialize(operands.back(), 0);
    fused.push_back({finish, 0.0, 0});
}

double Engine::Fx_Eval(double x) {
    clearUpperVectorState();
    FxQueue.SetValue();
    if (cut_ || refused()) throw Failure(kErrMissing);
    if (!compiled_ || FxQueue.generation() != compiledGeneration_) compileSequence();

    const Compiled& c = *compiled_;
    // The fused steps take x as finite; a non-finite x fails at its own token.
    const std::vector<Step>& steps = fusion_ && std::isfinite(x) ? c.fused : c.plain;
    // The operands below the top one; the first push stores the unused
    // initial top in operands[0].
    double operands[kMaxOperands + 1];
    const Run run{&FxQueue, FxQueue.rear()};
    const Step* first = steps.data();
    const double top = first->fn(first, 0.0, x, operands, run);

    FxQueue.setReadState(c.endFront, c.endHasItems);
    FxQueue.succeeded = c.endSucceeded;
    if (c.emptyAtEnd) throw Failure(kErrMissing);
    return top;
}

namespace {

// 10^n as std::pow(10, n) gives it, for every whole n a slope step can have.
double powerOfTen(double n) {
    constexpr int kLowest = -330;
    constexpr int kHighest = 310;
    static const auto kPowers = [] {
        std::array<double, kHighest - kLowest + 1> p{};
        for (int i = kLowest; i <= kHighest; ++i) p[i - kLowest] = std::pow(10.0, i);
        return p;
    }();
    if (n >= kLowest && n <= kHighest) return kPowers[static_cast<int>(n) - kLowest];
    return std::pow(10.0, n);
}

}  // namespace

double Engine::Fx_Diff(double x) {
    double h = 0.001;
    if (x != 0.0) {
        // A quotient of two natural logarithms: for x = 1000 it is just below 3.
        const double q = std::log(std::fabs(x)) / std::log(10.0);
        h = powerOfTen(std::floor(q) - 3.0);
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
