#include "solver/driver.h"

#include <QApplication>
#include <cmath>
#include <new>

#include "common/checked_math.h"
#include "common/numtext.h"
#include "engine/engine.h"
#include "engine/err_msg.h"
#include "graph/frm_graph.h"
#include "solver/failure_messages.h"
#include "solver/step_trap.h"
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

// Kinds of what is told at most once, beside the failure numbers of Err_Msg:
// a number text beyond the double range, per box.
enum NumberKind : int { kInitialValueText = 1001, kErrorText, kLoopsText };

}  // namespace

IterationDriver::IterationDriver(ProgramState& state, Engine& engine, UserDialogs& dialogs,
                                 FrmGraph& graph, FrmDSPDTA& table, IterationValues& values,
                                 QObject* parent)
    : QObject(parent),
      state_(state),
      engine_(engine),
      dialogs_(dialogs),
      graph_(graph),
      table_(table),
      values_(values) {}

void IterationDriver::refresh(bool force) {
    if (!force && sinceRefresh_.isValid()) {
        // Reading the clock costs more than a pass of a short f(x): it is read
        // every few passes only.
        if (++passesUnchecked_ < kPassesPerClockRead) return;
        passesUnchecked_ = 0;
        if (sinceRefresh_.elapsed() < kFrameMs) return;
    }
    table_.Refresh();
    graph_.Refresh();
    // Lets "End" and closing the main window through while a long run goes on;
    // the other inputs are locked and a second calculation is refused.
    QApplication::processEvents();
    sinceRefresh_.restart();
}

void IterationDriver::setRunning(bool running) {
    if (locked_ == running) return;
    locked_ = running;
    emit runningChanged(running);
}

void IterationDriver::Clear(const std::string& initialValueText) {
    clearAround(std::floor(textToNumber(initialValueText)));
}

void IterationDriver::clearAround(double center) {
    values_.CurX = center;
    state_.OffX = state_.OrgX - center;
    graph_.INZGraph(center);
    table_.Dta_Clr();
}

void IterationDriver::calculate(const CalculationInputs& inputs) {
    if (running_) return;
    running_ = true;
    abandoned_ = false;
    // The table's scroll bar follows the rows at each refresh, not at each row.
    table_.holdUpdates(true);
    try {
        run(inputs);
    } catch (const std::bad_alloc&) {
        dialogs_.message(kOutOfMemoryMessage, kAppTitle);
    }
    table_.holdUpdates(false);
    setRunning(false);
    running_ = false;
}

void IterationDriver::run(const CalculationInputs& in) {
    IterationValues& v = values_;
    ShowOnce shown;
    const StepTrap::Report errMsg = [&](int number) {
        if (shown.first(number)) Err_Msg(number, dialogs_, state_.NewLine);
    };
    StepTrap step(errMsg);
    // A number text beyond the double range is told by its box and text.
    auto numberText = [&](int kind, const char* box, const std::string& text) {
        return StepTrap::Report([&, kind, box](int number) {
            if (number != kErrOverflow) {
                errMsg(number);
            } else if (shown.first(kind)) {
                dialogs_.message(numberTextMessage(box, text), kAppTitle);
            }
        });
    };
    const StepTrap::Report initialValueText =
        numberText(kInitialValueText, kBoxInitialValue, in.initialValue);
    double tolerance = 0.0;
    double loopLimit = 0.0;

    const bool cleared = step([&] { Clear(in.initialValue); }, initialValueText);
    step([&] { engine_.Fx_Postfix(in.fx); });
    // An f(x) that can give no value at any x: told once, and nothing is drawn.
    if (toldMalformed(in.fx, engine_, dialogs_)) {
        if (!cleared) clearAround(std::floor(v.CurX));
        return;
    }
    step([&] { v.CurX = textToNumber(in.initialValue); }, initialValueText);
    // Whether each value of the pass was computed in this calculation (0), or
    // the failure that kept it from being computed.
    int xFailure = step.failure();
    step([&] { tolerance = textToNumber(in.tolerance); },
         numberText(kErrorText, kBoxError, in.tolerance));
    step([&] { loopLimit = textToNumber(in.loops); }, numberText(kLoopsText, kBoxLoops, in.loops));
    graph_.setCaption(kCaptionCurve);
    state_.IterCount = 0;
    shown.nextPhase();

    // The curve, every 0.01 from OrgX - 3 left of the centre to OrgX - 3 right of it.
    const double lower = std::floor(v.CurX) + kCurveMargin - state_.OrgX;
    const double upper = std::floor(v.CurX) + state_.OrgX - kCurveMargin;
    for (double t = lower; t <= upper; t += kCurveStep) {
        step([&] {
            const double y = engine_.Fx_Eval(t);
            graph_.Line_C(t, y);
        });
        if (state_.IterCount == 0) state_.IterCount = 1;
        if (t + kCurveStep == t) break;  // too far out for 0.01 steps to advance
    }
    graph_.Refresh();
    setRunning(true);
    state_.IterCount = 0;
    graph_.setCaption(kCaptionTangent);
    shown.nextPhase();
    sinceRefresh_.invalidate();

    while (!abandoned_) {
        bool goOn = true;  // a failing loop test counts as true
        step([&] {
            const bool notClose = std::abs(engine_.Fx_Eval(v.CurX)) > tolerance;
            goOn = notClose && static_cast<double>(state_.IterCount) < loopLimit;
        });
        if (!goOn) break;
        step([&] { v.CurFx = engine_.Fx_Eval(v.CurX); });
        const int fxFailure = step.failure();
        step([&] { v.CurDfx = engine_.Fx_Diff(v.CurX); });
        const int dfxFailure = step.failure();
        step([&] { v.NextX = checkedSub(v.CurX, checkedDiv(v.CurFx, v.CurDfx)); });
        // A next iterate made from an f or f' that was not computed is not one either.
        const int nextFailure = step.failure() ? step.failure()
                                : fxFailure    ? fxFailure
                                               : dfxFailure;
        bool flatExit = true;  // a failing zero-slope test leaves the loop
        step([&] {
            const bool flat = std::abs(v.CurDfx) <= 0.0;
            const bool above = engine_.Fx_Eval(v.NextX) > checkedMul(2.0, tolerance);
            flatExit = flat && above;
        });
        if (flatExit) break;
        step([&] {
            table_.DspDta({v.CurX, xFailure}, {v.CurFx, fxFailure}, {v.CurDfx, dfxFailure});
        });
        graph_.Line_A(v.CurX, v.CurFx, v.NextX, 0.0, errMsg);
        step([&] {
            graph_.picThree().Circle(checkedAdd(v.CurX, state_.OffX),
                                     checkedAdd(v.CurFx, state_.OrgY), kPointRadius, kMarkerColor);
        });
        if (in.stepByStep) {
            refresh(true);
            if (abandoned_) break;
            dialogs_.pause();
        }
        ++state_.IterCount;
        v.CurX = v.NextX;
        xFailure = nextFailure;
        refresh(false);
    }
    if (abandoned_) return;

    step([&] {
        const double f = engine_.Fx_Eval(v.CurX);
        const double d = engine_.Fx_Diff(v.CurX);
        table_.DspDta({v.CurX, xFailure}, {f, 0}, {d, 0});
    });
    step([&] {
        const double p = engine_.Fx_Eval(v.CurX);
        const double q = engine_.Fx_Eval(v.CurX);
        const double r = engine_.Fx_Diff(v.CurX);
        graph_.Line_A(v.CurX, p, checkedSub(v.CurX, checkedDiv(q, r)), 0.0, errMsg);
    });
    bool isRoot = true;  // a failing outcome test goes on to the root marker
    step([&] { isRoot = std::abs(engine_.Fx_Eval(v.CurX)) <= tolerance; });
    if (isRoot) {
        step([&] {
            const double y = checkedAdd(engine_.Fx_Eval(v.CurX), state_.OrgY);
            graph_.picThree().Circle(checkedAdd(v.CurX, state_.OffX), y, kRootRadius, kMarkerColor);
        });
    } else {
        dialogs_.message(kNoRootMessage, kAppTitle);
    }
    graph_.setCaption(kCaptionDone);
    graph_.Refresh();
    table_.Refresh();
}

}  // namespace quorel
