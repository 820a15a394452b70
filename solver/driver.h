// One whole calculation: Clear, translate f(x), draw the curve, run the
// tangent-line iteration X(i+1) = X(i) - f(X(i)) / f'(X(i)) with its stopping
// rules, list and draw every pass, then mark the root or say none was reached.
// Every step runs under one StepTrap: a failure is reported through Err_Msg
// and the calculation goes on with the next step.
#pragma once

#include <QElapsedTimer>

#include "common/program_state.h"
#include "common/user_dialogs.h"

namespace quorel {

class Engine;
class FrmDSPDTA;
class FrmFx;
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

class IterationDriver {
  public:
    IterationDriver(ProgramState& state, Engine& engine, UserDialogs& dialogs, FrmFx& panel,
                    FrmGraph& graph, FrmDSPDTA& table);

    // Runs the calculation from the panel's current texts.
    void CmdCal_Click();
    bool running() const { return running_; }
    // Makes a running calculation stop at the next pass and skip its outcome
    // (the program is ending).
    void abandon() { abandoned_ = true; }

  private:
    void run();
    void refresh(bool force);
    void setInputsEnabled(bool enabled);

    ProgramState& state_;
    Engine& engine_;
    UserDialogs& dialogs_;
    FrmFx& panel_;
    FrmGraph& graph_;
    FrmDSPDTA& table_;
    bool running_ = false;
    bool abandoned_ = false;
    QElapsedTimer sinceRefresh_;
};

}  // namespace quorel
