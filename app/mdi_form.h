// The main window: a multiple-document frame holding the input panel, the
// iteration table and the graph; the step pause dialog is a window of its own.
// Start-up sets the program-wide values, creates and places the windows.
#pragma once

#include <QMainWindow>
#include <memory>

#include "common/program_state.h"
#include "common/user_dialogs.h"

class QMdiArea;
class QMdiSubWindow;

namespace quorel {

class BasinFiller;
class Engine;
class FrmConvergence;
class FrmDSPDTA;
class FrmFx;
class FrmGraph;
class FrmWait;
class HelpWindow;
class IterationDriver;
class RunModel;
class WindowActions;

// The windows that show a run. The run's changes reach them through the
// connections made here, the one place they are made.
struct RunViews {
    FrmGraph& graph;
    FrmDSPDTA& table;
    FrmConvergence* convergence = nullptr;
};
void connectRun(RunModel& run, IterationDriver& driver, const RunViews& views);

inline constexpr const char* kMainCaption = "Quorel ";

class MDIForm1 : public QMainWindow {
    Q_OBJECT
  public:
    // dialogs: where messages and pauses go; the main window's Qt dialogs when null.
    explicit MDIForm1(UserDialogs* dialogs = nullptr);
    ~MDIForm1() override;

    ProgramState& state() { return state_; }
    Engine& engine() { return *engine_; }
    RunModel& run() { return *run_; }
    FrmWait& frmWait() { return *wait_; }
    FrmDSPDTA& frmDspdta() { return *table_; }
    FrmGraph& frmGraph() { return *graph_; }
    FrmFx& frmFx() { return *panel_; }
    FrmConvergence& frmConvergence() { return *convergence_; }
    // Made on first use: start-up does without it.
    HelpWindow& helpWindow();
    WindowActions& actions() { return *actions_; }
    QMdiArea& mdiArea() { return *mdi_; }
    BasinFiller& basinFiller() { return *basinFiller_; }

  protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void MDIForm_Load();
    QMdiSubWindow* addChild(QWidget* form);
    // The windows beyond the specified three, hidden at start, and what opens them.
    void addTakeApartWindows(QMdiSubWindow* graphSub, QMdiSubWindow* tableSub);
    // The basin strip: worked out after every calculation that iterated.
    void addBasins();

    ProgramState state_;
    std::unique_ptr<UserDialogs> ownDialogs_;
    UserDialogs* dialogs_;
    std::unique_ptr<Engine> engine_;
    // What the latest calculation produced, and the driver that writes it.
    RunModel* run_ = nullptr;
    IterationDriver* driver_ = nullptr;
    QMdiArea* mdi_;
    FrmWait* wait_ = nullptr;
    FrmDSPDTA* table_ = nullptr;
    FrmGraph* graph_ = nullptr;
    FrmFx* panel_ = nullptr;
    FrmConvergence* convergence_ = nullptr;
    HelpWindow* help_ = nullptr;
    WindowActions* actions_ = nullptr;
    BasinFiller* basinFiller_ = nullptr;
};

}  // namespace quorel
