#include "solver/driver.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <cmath>
#include <new>

#include "common/checked_math.h"
#include "common/numtext.h"
#include "engine/engine.h"
#include "engine/err_msg.h"
#include "graph/frm_graph.h"
#include "solver/frm_fx.h"
#include "solver/input_guard.h"
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

}  // namespace

IterationDriver::IterationDriver(ProgramState& state, Engine& engine, UserDialogs& dialogs,
                                 FrmFx& panel, FrmGraph& graph, FrmDSPDTA& table)
    : state_(state),
      engine_(engine),
      dialogs_(dialogs),
      panel_(panel),
      graph_(graph),
      table_(table) {}

void IterationDriver::refresh(bool force) {
    if (!force && sinceRefresh_.isValid() && sinceRefresh_.elapsed() < kFrameMs) return;
    table_.Refresh();
    graph_.Refresh();
    // Lets "End" and closing the main window through while a long run goes on;
    // the other inputs are disabled and a second calculation is refused.
    QApplication::processEvents();
    sinceRefresh_.restart();
}

void IterationDriver::setInputsEnabled(bool enabled) {
    panel_.CmdCal().setEnabled(enabled);
    panel_.CmdClr().setEnabled(enabled);
    panel_.ChkStep().setEnabled(enabled);
    panel_.CmbFx().setEnabled(enabled);
    panel_.TexDFT().setEnabled(enabled);
    panel_.TexError().setEnabled(enabled);
}

void IterationDriver::CmdCal_Click() {
    if (running_) return;
    running_ = true;
    abandoned_ = false;
    // Disabling the focused button moves the focus on; it comes back after.
    const QPointer<QWidget> focus = QApplication::focusWidget();
    {
        const InputGuard guard(&panel_.Command1());
        try {
            run();
        } catch (const std::bad_alloc&) {
            dialogs_.message(kOutOfMemoryMessage, kAppTitle);
            setInputsEnabled(true);
        }
    }
    running_ = false;
    if (focus && focus->isEnabled() && !abandoned_) focus->setFocus();
}

void IterationDriver::run() {
    IterationValues& v = panel_.values;
    StepTrap step([this](int number) { Err_Msg(number, dialogs_, state_.NewLine); });
    double tolerance = 0.0;
    double loopLimit = 0.0;

    step([&] { panel_.CmdClr_Click(); });
    step([&] { engine_.Fx_Postfix(panel_.CmbFx().currentText().toStdString()); });
    step([&] { v.CurX = textToNumber(panel_.TexDFT().text().toStdString()); });
    step([&] { tolerance = textToNumber(panel_.TexError().text().toStdString()); });
    step([&] { loopLimit = textToNumber(panel_.TexLoops().text().toStdString()); });
    graph_.setCaption(kCaptionCurve);
    state_.IterCount = 0;

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
    setInputsEnabled(false);
    state_.IterCount = 0;
    graph_.setCaption(kCaptionTangent);
    sinceRefresh_.invalidate();

    while (!abandoned_) {
        bool goOn = true;  // a failing loop test counts as true
        step([&] {
            const bool notClose = std::abs(engine_.Fx_Eval(v.CurX)) > tolerance;
            goOn = notClose && static_cast<double>(state_.IterCount) < loopLimit;
        });
        if (!goOn) break;
        step([&] { v.CurFx = engine_.Fx_Eval(v.CurX); });
        step([&] { v.CurDfx = engine_.Fx_Diff(v.CurX); });
        step([&] { v.NextX = checkedSub(v.CurX, checkedDiv(v.CurFx, v.CurDfx)); });
        bool flatExit = true;  // a failing zero-slope test leaves the loop
        step([&] {
            const bool flat = std::abs(v.CurDfx) <= 0.0;
            const bool above = engine_.Fx_Eval(v.NextX) > checkedMul(2.0, tolerance);
            flatExit = flat && above;
        });
        if (flatExit) break;
        step([&] { table_.DspDta(v.CurX, v.CurFx, v.CurDfx); });
        graph_.Line_A(v.CurX, v.CurFx, v.NextX, 0.0);
        step([&] {
            graph_.picThree().Circle(checkedAdd(v.CurX, state_.OffX),
                                     checkedAdd(v.CurFx, state_.OrgY), kPointRadius, kMarkerColor);
        });
        if (panel_.ChkStep().isChecked()) {
            refresh(true);
            if (abandoned_) break;
            dialogs_.pause();
        }
        ++state_.IterCount;
        v.CurX = v.NextX;
        refresh(false);
    }
    if (abandoned_) {
        setInputsEnabled(true);
        return;
    }

    step([&] {
        const double f = engine_.Fx_Eval(v.CurX);
        const double d = engine_.Fx_Diff(v.CurX);
        table_.DspDta(v.CurX, f, d);
    });
    step([&] {
        const double p = engine_.Fx_Eval(v.CurX);
        const double q = engine_.Fx_Eval(v.CurX);
        const double r = engine_.Fx_Diff(v.CurX);
        graph_.Line_A(v.CurX, p, checkedSub(v.CurX, checkedDiv(q, r)), 0.0);
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
    setInputsEnabled(true);
}

}  // namespace quorel
