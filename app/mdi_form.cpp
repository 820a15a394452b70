#include "app/mdi_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "app/help_window.h"
#include "app/qt_dialogs.h"
#include "app/stacking.h"
#include "app/window_actions.h"
#include "common/form_geometry.h"
#include "common/numtext.h"
#include "common/twips.h"
#include "common/version.h"
#include "engine/engine.h"
#include "graph/basin_strip.h"
#include "graph/frm_graph.h"
#include "graph/run_drawing.h"
#include "run/run_model.h"
#include "solver/basin_filler.h"
#include "solver/driver.h"
#include "solver/frm_fx.h"
#include "solver/frm_wait.h"
#include "solver/graph_description.h"
#include "table/frm_convergence.h"
#include "table/frm_dspdta.h"
#include "table/table_accessible.h"

namespace quorel {

void connectRun(RunModel& run, IterationDriver& driver, const RunViews& v) {
    FrmGraph& graph = v.graph;
    FrmDSPDTA& table = v.table;
    QObject::connect(&run, &RunModel::cleared, &graph,
                     [&graph](double center) { graph.INZGraph(center); });
    QObject::connect(&run, &RunModel::cleared, &table, &FrmDSPDTA::Dta_Clr);
    QObject::connect(&run, &RunModel::cleared, &graph,
                     [&graph, &run] { describeGraph(graph, run); });
    QObject::connect(&run, &RunModel::curveAdded, &graph,
                     [&graph, &run](long long from) { drawCurve(graph, run, from); });
    QObject::connect(&run, &RunModel::curveResampled, &graph,
                     [&graph] { graph.picThree().repaintScene(); });
    QObject::connect(&run, &RunModel::rowsAdded, &table, &FrmDSPDTA::showRows);
    QObject::connect(
        &run, &RunModel::rowsAdded, &graph,
        [&graph, &run](long long from, long long to) { drawRows(graph, run, from, to); });
    QObject::connect(&run, &RunModel::outcomeChanged, &graph, [&graph, &run] {
        graph.showOutcome(outcomeText(run.outcome()));
        describeGraph(graph, run);
    });
    // A resize or a framed run samples the curve again across the new view.
    QObject::connect(&graph, &FrmGraph::curveWanted, &run, &RunModel::resampleCurve);
    if (FrmConvergence* c = v.convergence) {
        QObject::connect(&run, &RunModel::cleared, c, &FrmConvergence::rowsChanged);
        QObject::connect(&run, &RunModel::rowsAdded, c, &FrmConvergence::rowsChanged);
    }
    QObject::connect(&driver, &IterationDriver::captionChanged, &graph,
                     [&graph](const QString& c) { graph.setCaption(c.toStdString()); });
    QObject::connect(&driver, &IterationDriver::refreshWanted, &graph, [&graph, &table] {
        table.Refresh();
        graph.Refresh();
    });
    graph.setUnderlay([&graph, &run] { drawPreviousRun(graph, run); });
    graph.setRun(&run);
    describeGraph(graph, run);
}

MDIForm1::MDIForm1(UserDialogs* dialogs) {
    QtDialogs* qtDialogs = nullptr;
    if (!dialogs) {
        auto own = std::make_unique<QtDialogs>();
        qtDialogs = own.get();
        ownDialogs_ = std::move(own);
        dialogs = ownDialogs_.get();
    }
    dialogs_ = dialogs;
    installTableAccessibility();
    setWindowTitle(kMainCaption);
    mdi_ = new QMdiArea(this);
    // A child window partly outside the frame's area can be scrolled to.
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdi_);
    engine_ = std::make_unique<Engine>();
    MDIForm_Load();
    if (qtDialogs) qtDialogs->setPauseDialog(wait_);
    // Large enough for the three child windows (13145 x 9000 twips of client area).
    resize(twipsRect(0, 0, 13145, 9000).size() + QSize(6, 6));
}

MDIForm1::~MDIForm1() {
    // The windows hold references to the shared state, the engine and the
    // dialogs: they go first.
    delete mdi_;
    delete wait_;
    delete help_;
}

bool MDIForm1::eventFilter(QObject* watched, QEvent* event) {
    // The three child windows live as long as the program: their frames
    // refuse to close (title bar, window menu, Ctrl+F4).
    if (event->type() == QEvent::Close && qobject_cast<QMdiSubWindow*>(watched)) {
        event->ignore();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

QMdiSubWindow* MDIForm1::addChild(QWidget* form) {
    QMdiSubWindow* sub = mdi_->addSubWindow(form);
    sub->setAttribute(Qt::WA_DeleteOnClose, false);
    sub->setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                        Qt::WindowMinMaxButtonsHint);
    sub->installEventFilter(this);
    sub->setWindowIcon(form->windowIcon());
    form->setMinimumSize(0, 0);
    sub->setMinimumSize(0, 0);
    return sub;
}

void MDIForm1::MDIForm_Load() {
    state_.OrgFracX = 0.5;
    state_.OrgFracY = 0.5;
    state_.PauseSeconds = 5;
    state_.NewLine = "\r\n";

    wait_ = new FrmWait(state_, *dialogs_, this);
    wait_->Form_Load();
    run_ = new RunModel(this);
    driver_ = new IterationDriver(state_, *engine_, *dialogs_, *run_, this);
    table_ = new FrmDSPDTA(run_);
    graph_ = new FrmGraph(state_);
    panel_ = new FrmFx(*engine_, *dialogs_, *driver_);
    connect(driver_, &IterationDriver::runningChanged, panel_, &FrmFx::lockInputs);
    // Added in the order they are shown, so the table lies above the graph.
    QMdiSubWindow* graphSub = addChild(graph_);
    QMdiSubWindow* tableSub = addChild(table_);
    QMdiSubWindow* panelSub = addChild(panel_);
    new KeepAbove(tableSub, graphSub);
    connect(graph_, &FrmGraph::calculationRequested, this, [this](const QString& text) {
        if (panel_->calculating()) return;
        panel_->setInitialValueText(text.toStdString());
        panel_->CmdCal_Click();
    });
    connect(panel_, &FrmFx::endRequested, this, [] {
        QApplication::closeAllWindows();
        QApplication::exit(0);
    });

    setOuterGeometryTwips(panel_, 0, 0, 5265, 3300);
    setOuterGeometryTwips(graph_, 5300, 0, 7845, 9000);
    setOuterGeometryTwips(table_, 0, 3350, 6030, 5580);
    wait_->move(0, 0);

    graph_->computeGraphState();
    addTakeApartWindows(graphSub, tableSub);
    connectRun(*run_, *driver_, {*graph_, *table_, convergence_});
    addBasins();

    for (QMdiSubWindow* sub : {graphSub, tableSub, panelSub}) {
        sub->show();
        sub->raise();
    }
    mdi_->setActiveSubWindow(panelSub);
}

void MDIForm1::addTakeApartWindows(QMdiSubWindow* graphSub, QMdiSubWindow* tableSub) {
    convergence_ = new FrmConvergence(run_->rows());
    QMdiSubWindow* convergenceSub = mdi_->addSubWindow(convergence_);
    // Unlike the specified three it closes (and is only hidden).
    convergenceSub->setAttribute(Qt::WA_DeleteOnClose, false);
    convergenceSub->setWindowIcon(programIcon());
    // Over the lower part of the graph, clear of the table's digits.
    setOuterGeometryTwips(convergence_, 6060, 3900, 7050, 5100);
    convergenceSub->hide();

    // Replay: "[" and "]" on the graph or the convergence window step the
    // graph through a finished run; the table and the convergence window
    // mark the pass it shows.
    PlotSurface& surface = graph_->picThree();
    auto step = [this, &surface](int by) {
        if (!panel_->calculating()) surface.stepReplay(by);
    };
    connect(graph_, &FrmGraph::replayStepRequested, this, step);
    connect(convergence_, &FrmConvergence::replayStepRequested, this, step);
    connect(&surface, &PlotSurface::replayPassChanged, table_, &FrmDSPDTA::markRow);
    connect(&surface, &PlotSurface::replayPassChanged, convergence_, &FrmConvergence::markPass);

    actions_ = new WindowActions(
        {*this, *panel_, *run_, *table_, *tableSub, *graph_, *graphSub, *convergence_,
         *convergenceSub, [this]() -> HelpWindow& { return helpWindow(); }},
        *dialogs_, this);
    // The previous run kept under the next one, or no more (shown at once).
    connect(actions_, &WindowActions::keepPreviousToggled, this, [this](bool keep) {
        run_->setKeepPrevious(keep);
        if (!keep) graph_->redrawAsIs();
    });
}

HelpWindow& MDIForm1::helpWindow() {
    if (!help_) {
        help_ = new HelpWindow(QString::fromUtf8(kVersion), this);
        help_->addAction(actions_->helpAction());
    }
    return *help_;
}

void MDIForm1::addBasins() {
    basinFiller_ = new BasinFiller(this);
    BasinStrip& strip = graph_->basins();
    connect(&strip, &BasinStrip::columnsWanted, basinFiller_, &BasinFiller::request);
    connect(basinFiller_, &BasinFiller::pictureReady, &strip, &BasinStrip::setPicture);
    IterationDriver& driver = *driver_;
    connect(&driver, &IterationDriver::runningChanged, this, [this, &driver, &strip](bool running) {
        if (running) {
            // The strip's slices would slow the calculation down.
            basinFiller_->cancel();
            graph_->holdBasins();
            return;
        }
        if (driver.abandoned()) return;
        const Calculation& c = driver.calculation();
        if (c.iterated) {
            basinFiller_->setRun(c.inputs.fx, c.tolerance, c.loopLimit);
            strip.forget();
        }
        graph_->showBasins(c.iterated);
        actions_->basinsChanged(basinFiller_->hasRun());
    });
}

void MDIForm1::closeEvent(QCloseEvent* e) {
    // Closing the frame ends the program, whatever the pause dialog is doing.
    panel_->abandonCalculation();
    wait_->hide();
    e->accept();
    QApplication::quit();
}

}  // namespace quorel
