// One whole calculation: read the inputs, Clear, translate f(x), draw the
// curve, run the tangent-line iteration X(i+1) = X(i) - f(X(i)) / f'(X(i))
// with its stopping rules, list and draw every pass, then mark the root or
// say none was reached. Every calculation starts from nothing: its iterate
// values and row numbers belong to it alone. An input that cannot be used
// ends it after its one message; so does an iterate where f, f' or the next X
// cannot be computed. Every calculation ends with its outcome on the graph.
// Running out of memory anywhere in a calculation (the rows, the drawing, a
// message) ends it at one place, where the calculation ends: what was shown
// so far stays, and the user is told. The driver writes what it computes into
// the run model; the windows draw and list it from there.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "common/millisecond_clock.h"
#include "common/program_state.h"
#include "common/user_dialogs.h"
#include "run/outcome.h"

namespace quorel {

class Engine;
class RunModel;

inline constexpr const char* kCaptionCurve =
    "drafting area--<function graph> drawing,please just moment...";
inline constexpr const char* kCaptionTangent =
    "drafting area--\\quorel tangent line/drawing,please just moment...";
inline constexpr const char* kCaptionDone = "drafting  area -- draw complete\uFF01";
inline constexpr const char* kNoRootMessage =
    "have been overtake Loops times,or graph divergennce? please input another <initial "
    "value> again calculate....";

// What a calculation reads from the input panel.
struct CalculationInputs {
    std::string fx;            // f(x)
    std::string initialValue;  // "initial value="
    std::string tolerance;     // "error="
    std::string loops;         // "Loops ="
    bool stepByStep = false;
};

// The state of one calculation. The iterate values are empty until this
// calculation computes them.
struct Calculation {
    CalculationInputs inputs;  // as typed
    std::optional<double> CurX;
    std::optional<double> CurFx;
    std::optional<double> CurDfx;
    std::optional<double> NextX;
    long long passes = 0;  // next X computed: the number of the next row
    // What the iteration ran with, once every input could be used.
    bool iterated = false;
    double tolerance = 0.0;
    double loopLimit = 0.0;
};

// Milliseconds from any fixed start; tests drive it.

class IterationDriver : public QObject {
    Q_OBJECT
  public:
    IterationDriver(ProgramState& state, Engine& engine, UserDialogs& dialogs, RunModel& run,
                    QObject* parent = nullptr);
    ~IterationDriver() override;

    // Runs one whole calculation (ignored while one runs).
    void calculate(const CalculationInputs& inputs);
    // Clear: OffX from floor(initial value), graph frame, empty table.
    // A number text beyond the double range throws Failure 6 before anything changes.
    void Clear(const std::string& initialValueText);

    bool running() const { return running_; }
    // Ends a running calculation at the end of its current pass, keeping
    // what it showed (Escape).
    void stop() { stopRequested_ = running_; }
    // Ends a running calculation at its next pass (the program is ending).
    void abandon() { abandoned_ = stopRequested_ = true; }
    bool abandoned() const { return abandoned_; }
    // The latest calculation, finished or running.
    const Calculation& calculation() const { return calc_; }
    // How the latest calculation ended; Ending::None while none has.
    const Outcome& outcome() const;

    // The clock that paces the repaints of a running calculation.
    void setClock(MillisecondClock clock) { clock_ = std::move(clock); }

  signals:
    // true when a calculation starts (the inputs are locked), false when it
    // has ended, however it ended.
    void runningChanged(bool running);
    // The graph window's caption as the calculation goes on.
    void captionChanged(const QString& caption);
    // The windows are to repaint at once (what was published is shown).
    void refreshWanted();

  private:
    void run(const CalculationInputs& inputs);
    // `startsRun`: the clear that begins a calculation (a kept previous run stays).
    void clearAround(double center, bool startsRun = false);
    // The curve, every 0.01 from OrgX - 3 left of the centre to OrgX - 3
    // right of it. A sample f cannot be computed at ends the piece drawn so
    // far; one that overflows also goes to `overflowAt`.
    void drawCurve(double center, const std::function<void(double)>& overflowAt);
    void refresh(bool force);
    void setRunning(bool running);
    void finish(Outcome outcome);
    void survivedOutOfMemory();
    void holdReserve();

    ProgramState& state_;
    Engine& engine_;
    UserDialogs& dialogs_;
    RunModel& run_;
    Calculation calc_;
    bool running_ = false;
    // The user ended the calculation: the pause dialog was closed, or the
    // program is ending (abandoned).
    bool stopRequested_ = false;
    bool abandoned_ = false;
    MillisecondClock clock_;
    // When the windows were last repainted; none yet in this iteration.
    std::optional<long long> lastRefresh_;
    int passesUnchecked_ = 0;
    // Memory kept aside while a calculation runs and let go when it runs out,
    // so that its message and the windows can still be shown.
    std::unique_ptr<char[]> reserve_;
};

}  // namespace quorel
