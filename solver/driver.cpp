#include "solver/driver.h"

#include <QApplication>
#include <cmath>
#include <new>
#include <utility>

#include "common/checked_math.h"
#include "common/numtext.h"
#include "engine/engine.h"
#include "engine/err_msg.h"
#include "graph/frm_graph.h"
#include "graph/single_precision.h"
#include "solver/failure_messages.h"
#include "solver/outcome.h"
#include "table/frm_dspdta.h"

namespace quorel {
namespace {

const QColor kMarkerColor(0, 255, 8);
constexpr double kCurveStep = 0.01;
constexpr double kCurveMargin = 3.0;
constexpr double kPointRadius = 0.1;
constexpr double kRootRadius = 0.3;
// Progress is shown at most once per screen frame; every pause and the end
// always show everything.
constexpr qint64 kFrameMs = 16;
constexpr int kPassesPerClockRead = 32;
// Enough for a message box and a repaint of every window.
constexpr std::size_t kReserveBytes = std::size_t(32) << 20;

// What is told at most once in a calculation.
enum Told : unsigned {
    kToldCurveOverflow = 1,
    kToldBeyondDrawing = 2,
    kToldTangent = 4,
};

// A value of the iteration, or the failure that kept it from being computed.
struct Attempt {
    double value = 0.0;
    int failure = 0;
    bool ok() const { return failure == 0; }
    CellValue cell() const { return {value, failure}; }
};

template <class F>
Attempt attempt(F&& f) {
    try {
        return {f(), 0};
    } catch (const Failure& e) {
        return {0.0, e.number()};
    }
}

}  // namespace

IterationDriver::IterationDriver(ProgramState& state, Engine& engine, UserDialogs& dialogs,
                                 FrmGraph& graph, FrmDSPDTA& table, QObject* parent)
    : QObject(parent),
      state_(state),
      engine_(engine),
      dialogs_(dialogs),
      graph_(graph),
      table_(table) {}

IterationDriver::~IterationDriver() = default;

void IterationDriver::refresh(bool force) {
    if (!force && sinceRefresh_.isValid()) {
        // Reading the clock costs more than a pass of a short f(x): it is read
        // every few passes only.
        if (++passesUnchecked_ < kPassesPerClockRead) return;
        passesUnchecked_ = 0;
        if (sinceRefresh_.elapsed() < kFrameMs) return;
    }
    use(MemoryUse::Painting);
    table_.Refresh();
    graph_.Refresh();
    // Lets "End" and closing the main window through while a long run goes on;
    // the other inputs are locked and a second calculation is refused.
    QApplication::processEvents();
    sinceRefresh_.restart();
}

void IterationDriver::setRunning(bool running) {
    running_ = running;
    emit runningChanged(running);
}

void IterationDriver::Clear(const std::string& initialValueText) {
    clearAround(std::floor(textToNumber(initialValueText)));
}

void IterationDriver::clearAround(double center) {
    state_.OffX = state_.OrgX - center;
    graph_.INZGraph(center);
    table_.Dta_Clr();
}

void IterationDriver::drawCurve(double center, const std::function<void(double)>& overflowAt) {
    const double lower = center + kCurveMargin - state_.OrgX;
    const double upper = center + state_.OrgX - kCurveMargin;
    for (double t = lower; t <= upper; t += kCurveStep) {
        const Attempt y = attempt([&] { return engine_.Fx_Eval(t); });
        if (y.ok()) {
            use(MemoryUse::Drawing);
            graph_.Line_C(t, y.value);
        } else {
            graph_.endCurvePiece();
            if (y.failure == kErrOverflow) overflowAt(t);
        }
        if (t + kCurveStep == t) break;  // too far out for 0.01 steps to advance
    }
}

void IterationDriver::holdReserve() {
    if (!reserve_) reserve_.reset(new (std::nothrow) char[kReserveBytes]);
}

void IterationDriver::finish(const std::string& outcome) {
    graph_.showOutcome(outcome);
}

void IterationDriver::survivedOutOfMemory() {
    // The reserve goes first, so that what follows can be shown; the rows and
    // the drawing so far stay until the next Clear.
    reserve_.reset();
    try {
        finish(outOfMemoryOutcome(calc_.passes));
        use(MemoryUse::Message);
        dialogs_.message(kOutOfMemoryMessage, kAppTitle);
    } catch (const std::bad_alloc&) {
        // Not even the message could be made: the outcome line tells it.
    }
}

void IterationDriver::calculate(const CalculationInputs& inputs) {
    if (running_) return;
    calc_ = Calculation{};
    stopRequested_ = abandoned_ = false;
    setRunning(true);
    // The table's scroll bar follows the rows at each refresh, not at each row.
    table_.holdUpdates(true);
    try {
        run(inputs);
    } catch (const std::bad_alloc&) {
        survivedOutOfMemory();
    }
    table_.holdUpdates(false);
    graph_.setCaption(kCaptionDone);
    graph_.Refresh();
    table_.Refresh();
    setRunning(false);
}

void IterationDriver::run(const CalculationInputs& in) {
    Calculation& c = calc_;
    unsigned told = 0;
    auto tellOnce = [&](Told kind, const std::string& text) {
        if (told & kind) return;
        told |= kind;
        use(MemoryUse::Message);
        dialogs_.message(text, kAppTitle);
    };
    const std::function<void(int)> tangentFailed = [&](int number) {
        if (number != kErrOverflow || (told & kToldTangent)) return;
        told |= kToldTangent;
        use(MemoryUse::Message);
        Err_Msg(number, dialogs_, state_.NewLine);
    };
    auto read = [&](const char* box, const std::string& text, double& out) {
        try {
            out = textToNumber(text);
            return true;
        } catch (const Failure&) {
            // With no initial value the graph is cleared about 0.
            if (box == kBoxInitialValue) clearAround(0.0);
            finish(
                notCalculatedOutcome(std::string("the number in \"") + box + "\" cannot be read"));
            use(MemoryUse::Message);
            dialogs_.message(numberTextMessage(box, text), kAppTitle);
            return false;
        }
    };

    // The inputs in the order the steps read them; the first that cannot be
    // used ends the calculation after its message.
    double x0 = 0.0;
    double tolerance = 0.0;
    double loopLimit = 0.0;
    if (!read(kBoxInitialValue, in.initialValue, x0)) return;
    clearAround(std::floor(x0));
    holdReserve();
    engine_.Fx_Postfix(in.fx);
    if (toldMalformed(in.fx, engine_, dialogs_)) {
        finish(notCalculatedOutcome("f(x) gives no value"));
        return;
    }
    if (!read(kBoxError, in.tolerance, tolerance) || !read(kBoxLoops, in.loops, loopLimit)) return;

    graph_.setCaption(kCaptionCurve);
    drawCurve(std::floor(x0), [&](double t) {
        tellOnce(kToldCurveOverflow, curveOverflowMessage(roundHalfEven(t, 2)));
    });
    use(MemoryUse::Painting);
    graph_.Refresh();
    graph_.setCaption(kCaptionTangent);
    sinceRefresh_.invalidate();

    auto showRow = [&](double x, Attempt fx, Attempt dfx) {
        use(MemoryUse::Rows);
        table_.DspDta(c.passes, {x, 0}, fx.cell(), dfx.cell());
    };
    // The tangent from (x, f) to the next X when there is one, then a marker
    // of `radius` at (x, f); neither when the point lies beyond the drawing.
    auto drawPass = [&](double x, double fx, const Attempt& next, double radius) {
        double px = 0.0, py = 0.0;
        try {
            px = toSingle(x + state_.OffX);
            py = toSingle(fx + state_.OrgY);
        } catch (const Failure&) {
            tellOnce(kToldBeyondDrawing, beyondDrawingMessage(x, fx));
            return;
        }
        use(MemoryUse::Drawing);
        if (next.ok()) graph_.Line_A(x, fx, next.value, 0.0, tangentFailed);
        if (radius > 0) graph_.picThree().Circle(px, py, radius, kMarkerColor);
    };
    // Each pass's drawing is marked off for a replay.
    auto draw = [&](double x, double fx, const Attempt& next, double radius) {
        drawPass(x, fx, next, radius);
        graph_.picThree().markPass();
    };
    // The slope at x (kept as CurDfx when computed), then the next X from it.
    auto slopeAndNext = [&](double x, double fx) {
        const Attempt dfx = attempt([&] { return engine_.Fx_Diff(x); });
        if (dfx.ok()) c.CurDfx = dfx.value;
        const Attempt next =
            !dfx.ok() ? dfx : attempt([&] { return checkedSub(x, checkedDiv(fx, dfx.value)); });
        return std::pair{dfx, next};
    };
    // The iteration ends at x, where `what` cannot be computed.
    auto endAt = [&](double x, Uncomputed what, int failure) {
        finish(uncomputedOutcome(what, x, failure));
        use(MemoryUse::Message);
        dialogs_.message(uncomputedMessage(what, x, failure), kAppTitle);
    };

    c.CurX = x0;
    graph_.picThree().markPass();
    for (;;) {
        const double x = *c.CurX;
        // f(x) is evaluated once per iterate: the loop test, the row, the
        // tangent and the outcome test all read it, as evaluating it again
        // would give the same value.
        const Attempt fx = attempt([&] { return engine_.Fx_Eval(x); });
        if (!fx.ok()) {
            showRow(x, fx, attempt([&] { return engine_.Fx_Diff(x); }));
            endAt(x, Uncomputed::Fx, fx.failure);
            return;
        }
        c.CurFx = fx.value;
        if (!(std::abs(fx.value) > tolerance && static_cast<double>(c.passes) < loopLimit)) break;

        const auto [dfx, next] = slopeAndNext(x, fx.value);
        showRow(x, fx, dfx);
        if (!next.ok()) {
            draw(x, fx.value, next, kPointRadius);
            if (dfx.ok() && dfx.value == 0.0) {
                finish(zeroSlopeOutcome(x));
                use(MemoryUse::Message);
                dialogs_.message(zeroSlopeMessage(x), kAppTitle);
            } else {
                endAt(x, dfx.ok() ? Uncomputed::NextX : Uncomputed::Slope, next.failure);
            }
            return;
        }
        c.NextX = next.value;
        draw(x, fx.value, next, kPointRadius);
        if (in.stepByStep) {
            refresh(true);
            if (!stopRequested_ && !dialogs_.pause()) stopRequested_ = true;
        }
        ++c.passes;
        c.CurX = c.NextX;
        refresh(false);
        if (stopRequested_) {
            finish(stoppedOutcome(x, c.passes));
            return;
        }
    }

    // The last iterate: its row, its tangent, and the root or the message.
    const double x = *c.CurX;
    const double fx = *c.CurFx;
    const auto [dfx, next] = slopeAndNext(x, fx);
    showRow(x, {fx, 0}, dfx);
    const bool isRoot = std::abs(fx) <= tolerance;
    if (!next.ok()) tangentFailed(next.failure);
    draw(x, fx, next, isRoot ? kRootRadius : 0.0);
    if (isRoot) {
        finish(rootOutcome(x, fx, c.passes));
    } else {
        finish(loopLimitOutcome(x, fx, c.passes));
        use(MemoryUse::Message);
        dialogs_.message(kNoRootMessage, kAppTitle);
    }
}

}  // namespace quorel
