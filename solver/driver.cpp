#include "solver/driver.h"

#include <QApplication>
#include <cmath>
#include <memory>
#include <new>
#include <utility>

#include "common/checked_math.h"
#include "common/numtext.h"
#include "engine/engine.h"
#include "engine/err_msg.h"
#include "graph/single_precision.h"
#include "run/run_model.h"
#include "solver/failure_messages.h"
#include "solver/input_reading.h"
#include "solver/outcome.h"
#include "solver/tangent_step.h"

namespace quorel {
namespace {

constexpr double kCurveStep = 0.01;
constexpr double kCurveMargin = 3.0;
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

CellValue cell(const Attempt& a) {
    return {a.value, a.failure};
}

}  // namespace

IterationDriver::IterationDriver(ProgramState& state, Engine& engine, UserDialogs& dialogs,
                                 RunModel& run, QObject* parent)
    : QObject(parent),
      state_(state),
      engine_(engine),
      dialogs_(dialogs),
      run_(run),
      clock_(elapsedClock()) {}

IterationDriver::~IterationDriver() = default;

const Outcome& IterationDriver::outcome() const {
    return run_.outcome();
}

void IterationDriver::refresh(bool force) {
    if (!force && lastRefresh_) {
        // Reading the clock costs more than a pass of a short f(x): it is read
        // every few passes only.
        if (++passesUnchecked_ < kPassesPerClockRead) return;
        passesUnchecked_ = 0;
        if (clock_() - *lastRefresh_ < kFrameMs) return;
    }
    run_.publish();
    emit refreshWanted();
    // Lets "End" and closing the main window through while a long run goes on;
    // the other inputs are locked and a second calculation is refused.
    QApplication::processEvents();
    lastRefresh_ = clock_();
}

void IterationDriver::setRunning(bool running) {
    running_ = running;
    emit runningChanged(running);
}

void IterationDriver::Clear(const std::string& initialValueText) {
    clearAround(std::floor(textToNumber(initialValueText)));
}

void IterationDriver::clearAround(double center, bool startsRun) {
    state_.OffX = state_.OrgX - center;
    run_.clear(center, startsRun);
}

void IterationDriver::drawCurve(double center, const std::function<void(double)>& overflowAt) {
    const double lower = center + kCurveMargin - state_.OrgX;
    const double upper = center + state_.OrgX - kCurveMargin;
    run_.sampleCurve(
        lower, upper, kCurveStep, [&](double t) { return engine_.Fx_Eval(t); },
        [&](int failure, double t) {
            if (failure == kErrOverflow) overflowAt(t);
        });
}

void IterationDriver::holdReserve() {
    if (!reserve_) reserve_.reset(new (std::nothrow) char[kReserveBytes]);
}

void IterationDriver::finish(Outcome outcome) {
    run_.setOutcome(std::move(outcome));
}

void IterationDriver::survivedOutOfMemory() {
    // The reserve goes first, so that what follows can be shown; the rows and
    // the drawing so far stay until the next Clear.
    reserve_.reset();
    try {
        Outcome o = run_.outcome();
        o.ending = Ending::OutOfMemory;
        o.passes = calc_.passes;
        finish(std::move(o));
        dialogs_.message(kOutOfMemoryMessage, kAppTitle);
    } catch (const std::bad_alloc&) {
        // Not even the message could be made: the outcome line tells it.
    }
}

void IterationDriver::calculate(const CalculationInputs& inputs) {
    if (running_) return;
    calc_ = Calculation{};
    calc_.inputs = inputs;
    run_.setOutcome(Outcome{});
    run_.setFunction(inputs.fx);
    stopRequested_ = abandoned_ = false;
    setRunning(true);
    try {
        run(inputs);
    } catch (const std::bad_alloc&) {
        survivedOutOfMemory();
    }
    try {
        run_.publish();
    } catch (const std::bad_alloc&) {
    }
    emit captionChanged(kCaptionDone);
    emit refreshWanted();
    setRunning(false);
}

void IterationDriver::run(const CalculationInputs& in) {
    Calculation& c = calc_;
    // What was worked out so far is shown behind a message box.
    auto tell = [&](const std::string& text) {
        run_.publish();
        dialogs_.message(text, kAppTitle);
    };
    unsigned told = 0;
    auto tellOnce = [&](Told kind, const std::string& text) {
        if (told & kind) return;
        told |= kind;
        tell(text);
    };
    const std::function<void(int)> tangentFailed = [&](int number) {
        if (number != kErrOverflow || (told & kToldTangent)) return;
        told |= kToldTangent;
        run_.publish();
        Err_Msg(number, dialogs_, state_.NewLine);
    };
    // What every ending says besides itself: how the boxes were read.
    Outcome base;
    auto endNotCalculated = [&](const std::string& reason) {
        Outcome o = base;
        o.ending = Ending::NotCalculated;
        o.reason = reason;
        finish(std::move(o));
    };
    auto notCalculated = [&](const std::string& reason, const std::string& message) {
        endNotCalculated(reason);
        tell(message);
    };
    auto read = [&](const char* box, const std::string& text, double& out) {
        try {
            const BoxRead r = readBox(box, text);
            out = r.value;
            if (r.note) base.readAs.push_back(*r.note);
            return true;
        } catch (const Failure&) {
            // With no initial value the graph is cleared about 0.
            if (box == kBoxInitialValue) clearAround(0.0, true);
            notCalculated(std::string("the number in \"") + box + "\" cannot be read",
                          numberTextMessage(box, text));
            return false;
        }
    };

    // The inputs in the order the steps read them; the first that cannot be
    // used ends the calculation after its message.
    double x0 = 0.0;
    double tolerance = 0.0;
    double loopLimit = 0.0;
    if (!read(kBoxInitialValue, in.initialValue, x0)) return;
    clearAround(std::floor(x0), true);
    holdReserve();
    engine_.Fx_Postfix(in.fx);
    if (toldMalformed(in.fx, engine_, dialogs_)) {
        endNotCalculated("f(x) gives no value");
        return;
    }
    if (!read(kBoxError, in.tolerance, tolerance) || !read(kBoxLoops, in.loops, loopLimit)) return;
    if (tolerance < 0) {
        notCalculated("the number in \"error=\" is below 0", kNegativeErrorMessage);
        return;
    }

    c.iterated = true;
    c.tolerance = tolerance;
    c.loopLimit = loopLimit;
    emit captionChanged(kCaptionCurve);
    // The curve of a new view is this f(x)'s, whatever the engine translates
    // meanwhile (the diagnostic view): the run keeps a translation of its own.
    auto curve = std::make_shared<Engine>();
    curve->Fx_Postfix(in.fx);
    run_.setCurveSource([curve](double t) { return curve->Fx_Eval(t); });
    drawCurve(std::floor(x0), [&](double t) {
        tellOnce(kToldCurveOverflow, curveOverflowMessage(roundHalfEven(t, 2)));
    });
    run_.publish();
    emit refreshWanted();
    emit captionChanged(kCaptionTangent);
    lastRefresh_.reset();

    auto showRow = [&](double x, Attempt fx, Attempt dfx) {
        run_.setRow(c.passes, {CellValue{x, 0}, cell(fx), cell(dfx)});
    };
    // The graph draws a pass's tangent from (x, f) to the next X and its
    // marker from the row; what it cannot draw is told here: a point beyond
    // the drawing (neither is drawn), a tangent's end beyond it.
    auto draw = [&](double x, double fx, const Attempt& next) {
        try {
            toSingle(x + state_.OffX);
            toSingle(fx + state_.OrgY);
        } catch (const Failure&) {
            tellOnce(kToldBeyondDrawing, beyondDrawingMessage(x, fx));
            return;
        }
        if (!next.ok()) return;
        try {
            toSingle(next.value + state_.OffX);
        } catch (const Failure& f) {
            tangentFailed(f.number());
        }
    };
    TangentStep step(engine_, tolerance, loopLimit);
    // The slope at x (kept as CurDfx when computed), then the next X from it.
    auto slopeAndNext = [&](double x, double fx) {
        const auto both = step.slopeAndNext(x, fx);
        if (both.first.ok()) c.CurDfx = both.first.value;
        return both;
    };
    auto ending = [&](Ending how, double x) {
        Outcome o = base;
        o.ending = how;
        o.x = x;
        o.passes = c.passes;
        o.lastSteps = step.steps();
        return o;
    };
    // The iteration ends at x, where `what` cannot be computed.
    auto endAt = [&](double x, Uncomputed what, int failure) {
        Outcome o = ending(Ending::Uncomputable, x);
        o.uncomputed = what;
        o.failure = failure;
        finish(std::move(o));
        tell(uncomputedMessage(what, x, failure));
    };

    c.CurX = x0;
    bool stopped = false;
    for (;;) {
        const double x = *c.CurX;
        if (stopRequested_) {
            stopped = true;
            break;
        }
        // f(x) is evaluated once per iterate: the loop test, the row, the
        // tangent and the outcome test all read it, as evaluating it again
        // would give the same value.
        const Attempt fx = step.f(x);
        if (!fx.ok()) {
            showRow(x, fx, step.slope(x));
            endAt(x, Uncomputed::Fx, fx.failure);
            return;
        }
        c.CurFx = fx.value;
        if (!step.passGoesOn(fx.value, c.passes)) break;

        const auto [dfx, next] = slopeAndNext(x, fx.value);
        showRow(x, fx, dfx);
        if (!next.ok()) {
            draw(x, fx.value, next);
            if (TangentStep::zeroSlope(dfx)) {
                Outcome o = ending(Ending::ZeroSlope, x);
                o.fx = fx.value;
                o.hasFx = true;
                finish(std::move(o));
                tell(zeroSlopeMessage(x));
            } else {
                endAt(x, dfx.ok() ? Uncomputed::NextX : Uncomputed::Slope, next.failure);
            }
            return;
        }
        c.NextX = next.value;
        step.noteStep(x, next.value);
        draw(x, fx.value, next);
        if (in.stepByStep) {
            refresh(true);
            if (!stopRequested_ && !dialogs_.pause()) stopRequested_ = true;
        }
        ++c.passes;
        c.CurX = c.NextX;
        refresh(false);
    }

    // The last iterate: its row, its tangent, and the root or the message.
    const double x = *c.CurX;
    const Attempt fxAt = stopped ? step.f(x) : Attempt{*c.CurFx, 0};
    if (!fxAt.ok()) {
        showRow(x, fxAt, step.slope(x));
        finish(ending(Ending::Stopped, x));
        return;
    }
    const double fx = fxAt.value;
    c.CurFx = fx;
    const auto [dfx, next] = slopeAndNext(x, fx);
    showRow(x, {fx, 0}, dfx);
    const bool within = step.withinError(fx);
    Outcome o = ending(stopped  ? Ending::Stopped
                       : within ? Ending::WithinError
                                : Ending::LoopLimit,
                       x);
    o.fx = fx;
    o.hasFx = true;
    if (o.ending == Ending::WithinError) {
        static_cast<Judgement&>(o) = step.judge(x, fx, dfx.valueIfOk());
    }
    // The outcome first: the last row is drawn as it says.
    const bool noRoot = o.ending == Ending::LoopLimit;
    finish(std::move(o));
    if (!next.ok()) tangentFailed(next.failure);
    draw(x, fx, next);
    if (noRoot) tell(kNoRootMessage);
}

}  // namespace quorel
