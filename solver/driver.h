// One whole calculation: Clear, translate f(x), draw the curve, run the
// tangent-line iteration X(i+1) = X(i) - f(X(i)) / f'(X(i)) with its stopping
// rules, list and draw every pass, then mark the root or say none was reached.
// Every step runs under one StepTrap: a failure is reported and the
// calculation goes on with the next step. One kind of failure is shown at
// most once while the curve is drawn and once for the iteration and its end;
// a value a failed step did not compute goes to the table as its failure.
// An f(x) that can give no value at any x ends the calculation at once.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <string>

#include "common/program_state.h"
#include "common/user_dialogs.h"

namespace quorel {

class Engine;
class FrmDSPDTA;
class FrmGraph;

inline constexpr const char* kCaptionCurve =
    "drafting area--<function graph> drawing,please just moment...";
inline constexpr const char* kCaptionTangent =
    "drafting area--\\quorel tangent line/drawing,please just moment...";
inline constexpr const char* kCaptionDone = "drafting  area -- draw complete\uFF01";
inline constexpr const char* kNoRootMessage =
    "have been overtake Loops times,or graph divergennce? please input another <initial "
    "value> again calculate....";
inline constexpr const char* kOutOfMemoryMessage =
    "Out of memory: the calculation was stopped. Lower \"Loops =\" and calculate again.";

// The iterate values of the calculation; they keep their values from one
// calculation to the next.
struct IterationValues {
    double CurX = 0.0;
    double CurFx = 0.0;
    double CurDfx = 0.0;
    double NextX = 0.0;
};

// What a calculation reads from the input panel.
struct CalculationInputs {
    std::string fx;            // f(x)
    std::string initialValue;  // "initial value="
    std::string tolerance;     // "error="
    std::string loops;         // "Loops ="
    bool stepByStep = false;
};

class IterationDriver : public QObject {
    Q_OBJECT
  public:
    IterationDriver(ProgramState& state, Engine& engine, UserDialogs& dialogs, FrmGraph& graph,
                    FrmDSPDTA& table, IterationValues& values, QObject* parent = nullptr);

    // Runs one whole calculation (ignored while one runs).
    void calculate(const CalculationInputs& inputs);
    // Clear: CurX = floor(initial value), OffX, graph frame, empty table.
    // A number text beyond the double range throws Failure 6 before anything changes.
    void Clear(const std::string& initialValueText);

    bool running() const { return running_; }
    // Makes a running calculation stop at the next pass and skip its outcome
    // (the program is ending).
    void abandon() { abandoned_ = true; }
    bool abandoned() const { return abandoned_; }

  signals:
    // true when the inputs are to be locked (the iteration starts), false when
    // the calculation has ended, however it ended.
    void runningChanged(bool running);

  private:
    void run(const CalculationInputs& inputs);
    void clearAround(double center);
    void refresh(bool force);
    void setRunning(bool running);

    ProgramState& state_;
    Engine& engine_;
    UserDialogs& dialogs_;
    FrmGraph& graph_;
    FrmDSPDTA& table_;
    IterationValues& values_;
    bool running_ = false;
    bool locked_ = false;
    bool abandoned_ = false;
    QElapsedTimer sinceRefresh_;
    int passesUnchecked_ = 0;
};

}  // namespace quorel
