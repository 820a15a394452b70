// Evaluation does not fetch and parse tokens: each translation makes a
// compact sequence of steps from the queue once, and Fx_Eval runs it in one
// loop, then sets the queue's read state as if every token up to the end (or
// up to the failing one) had been fetched.
//
// How many operands each token finds does not depend on x, so a missing
// operand is known when the sequence is made: it is a step that fails, and
// nothing after it is read. Operations whose operands are all numbers are
// done once, when the sequence is made, unless they fail: the same operation
// on the same operands, so the same value bits.
#include <cmath>

#include "common/checked_math.h"
#include "common/numtext.h"
#include "engine/engine.h"

namespace quorel {
namespace {

constexpr int kMaxOperands = Stack::kMaxItems;

// The step codes beside the operations of the table.
enum Code : std::uint8_t {
    kNumber = static_cast<std::uint8_t>(Operation::Function) + 1,
    kX,
    kMissing,    // an operand is missing: failure 13
    kBadNumber,  // a number text beyond the double range: failure 6
};

std::string lowered(const Value& v) {
    std::string t = valueText(v);
    for (char& c : t) c = lowerAscii(c);
    return t;
}

[[noreturn, gnu::cold]] void failAt(Queue& queue, int rear, int slot, int number) {
    queue.setReadState(slot, slot != rear);
    queue.succeeded = true;
    throw Failure(number);
}

}  // namespace

void Engine::makeSequence(bool refused) {
    refused_ = refused;
    madeFrom_ = FxQueue.generation();
    steps_.clear();
    const int rear = FxQueue.rear();
    int slot = FxQueue.front();
    int count = FxQueue.unread();
    endFront_ = count > 0 ? rear : slot;
    endHasItems_ = endSucceeded_ = false;
    int depth = 0;
    // The steps of the last operands that are numbers, to fold into an operation.
    int numbersOnTop = 0;
    for (; count > 0; --count) {
        slot = (slot + 1) % Queue::kRing;
        const std::string t = lowered(FxQueue.itemAt(slot));
        Step s{kNumber, static_cast<std::int16_t>(slot), 0.0, findOperator(t, operators_)};
        if (t.empty()) {
            endFront_ = slot;
            endHasItems_ = slot != rear;
            endSucceeded_ = true;
            break;
        }
        if (s.row == nullptr) {
            try {
                if (t != "x") s.number = textToNumber(t);
            } catch (const Failure&) {
                steps_.push_back({kBadNumber, s.slot, 0.0, nullptr});
                break;
            }
            if (t == "x") s.code = kX;
            // A full operand stack drops the value (500 tokens never fill it).
            if (depth == kMaxOperands) continue;
            ++depth;
            numbersOnTop = s.code == kNumber ? numbersOnTop + 1 : 0;
            steps_.push_back(s);
            continue;
        }
        const int needs = operandsOf(*s.row);
        if (depth < needs) {
            steps_.push_back({kMissing, s.slot, 0.0, nullptr});
            break;
        }
        depth -= needs - 1;
        if (numbersOnTop >= needs) {
            const double b = steps_.back().number;
            const double a = needs == 2 ? steps_.end()[-2].number : b;
            const double r = s.row->evaluate(a, needs == 2 ? b : 0.0);
            if (std::isfinite(r)) {
                steps_.resize(steps_.size() - static_cast<std::size_t>(needs - 1));
                steps_.back().number = r;
                numbersOnTop -= needs - 1;
                continue;
            }
        }
        s.code = static_cast<std::uint8_t>(s.row->operation);
        steps_.push_back(s);
        numbersOnTop = 0;
    }
    emptyAtEnd_ = depth == 0;
}

double Engine::Fx_Eval(double x) {
    FxQueue.SetValue();
    if (FxQueue.generation() != madeFrom_) makeSequence(false);
    if (refused_) throw Failure(kErrMissing);

    const int rear = FxQueue.rear();
    const bool xFinite = std::isfinite(x);
    // The top operand is held in `top`, the ones below it in `operands` up to
    // `below`; the first push stores the unused initial top in operands[0].
    double operands[kMaxOperands + 1];
    double* below = operands;
    double top = 0.0;
    for (const Step& s : steps_) {
        double a = top;  // the operand of one, the left operand of two
        double b = s.number;
        if (s.code <= static_cast<std::uint8_t>(Operation::Power)) {
            b = top;
            a = *--below;
        }
        double r;
        switch (s.code) {
            case kX:
                if (!xFinite) failAt(FxQueue, rear, s.slot, kErrOverflow);
                b = x;
                [[fallthrough]];
            case kNumber:
                *below++ = top;
                top = b;
                continue;
            case kMissing:
                failAt(FxQueue, rear, s.slot, kErrMissing);
            case kBadNumber:
                failAt(FxQueue, rear, s.slot, kErrOverflow);
            case static_cast<std::uint8_t>(Operation::Add):
                r = a + b;
                break;
            case static_cast<std::uint8_t>(Operation::Subtract):
                r = a - b;
                break;
            case static_cast<std::uint8_t>(Operation::Multiply):
                r = a * b;
                break;
            case static_cast<std::uint8_t>(Operation::Divide):
                r = a / b;
                break;
            case static_cast<std::uint8_t>(Operation::Power):
                r = power(a, b);
                break;
            case static_cast<std::uint8_t>(Operation::Plus):
                r = a;
                break;
            case static_cast<std::uint8_t>(Operation::Minus):
                r = 0.0 - a;
                break;
            default:  // Operation::Function
                r = s.row->evaluate(a, 0.0);
                break;
        }
        if (!std::isfinite(r)) [[unlikely]]
            failAt(FxQueue, rear, s.slot, s.row->failure(a, b));
        top = r;
    }

    FxQueue.setReadState(endFront_, endHasItems_);
    FxQueue.succeeded = endSucceeded_;
    if (emptyAtEnd_) throw Failure(kErrMissing);
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
    const double fm = Fx_Eval(finiteOr6(x - h));
    const double fp = Fx_Eval(finiteOr6(x + h));
    return finiteOr6(finiteOr6(fp - fm) / (2.0 * h));
}

}  // namespace quorel
