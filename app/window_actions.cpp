#include "app/window_actions.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPrinter>

#include "app/help_window.h"
#include "app/worksheet.h"
#include "graph/frm_graph.h"
#include "run/run_model.h"
#include "solver/frm_fx.h"
#include "table/frm_convergence.h"
#include "table/frm_dspdta.h"
#include "table/table_text.h"

namespace quorel {

WindowActions::WindowActions(const Windows& windows, UserDialogs& dialogs, QObject* parent)
    : QObject(parent), w_(windows), graphSurface_(&windows.graph.picThree()), dialogs_(dialogs) {
    copyTable_ = action("Copy table", QKeySequence::Copy, Qt::WidgetWithChildrenShortcut,
                        &WindowActions::copyTable);
    copyPicture_ = action("Copy picture", QKeySequence::Copy, Qt::WidgetWithChildrenShortcut,
                          &WindowActions::copyPicture);
    savePicture_ =
        action("Save picture...", QKeySequence(), Qt::WindowShortcut, &WindowActions::savePicture);
    frameRun_ = action("Frame the run", QKeySequence(Qt::Key_F), Qt::WidgetWithChildrenShortcut,
                       &WindowActions::frameRun);
    convergence_ = action("Convergence", QKeySequence(Qt::Key_F3), Qt::WindowShortcut,
                          &WindowActions::openConvergence);
    basins_ = action("Basin strip", QKeySequence(Qt::Key_B), Qt::WidgetWithChildrenShortcut,
                     &WindowActions::toggleBasins);
    basins_->setCheckable(true);
    basins_->setEnabled(false);
    keepPrevious_ = new QAction("Keep previous run", this);
    keepPrevious_->setCheckable(true);
    connect(keepPrevious_, &QAction::toggled, this, &WindowActions::keepPreviousToggled);
    print_ =
        action("Print...", QKeySequence::Print, Qt::WindowShortcut, &WindowActions::printWorksheet);
    saveWorksheet_ = action("Save worksheet as PDF...", QKeySequence::Save, Qt::WindowShortcut,
                            &WindowActions::saveWorksheet);
    help_ = action("Help", QKeySequence::HelpContents, Qt::ApplicationShortcut,
                   &WindowActions::openHelp);

    // Keys: Ctrl+C where the table or the graph has the focus; F3 in the
    // main window, F1 in any of the program's windows.
    w_.tableSub.addAction(copyTable_);
    w_.graphSub.addAction(copyPicture_);
    w_.graphSub.addAction(frameRun_);
    w_.graphSub.addAction(basins_);
    w_.frame.addAction(convergence_);
    w_.frame.addActions({print_, saveWorksheet_});
    w_.frame.addAction(help_);

    auto addToMenu = [](QMenu* menu, std::initializer_list<QAction*> actions) {
        menu->addSeparator();
        for (QAction* a : actions) menu->addAction(a);
    };
    addToMenu(w_.tableSub.systemMenu(), {copyTable_, print_, saveWorksheet_, convergence_, help_});
    graphMenu_ = {copyPicture_, savePicture_,   frameRun_,    basins_, keepPrevious_,
                  print_,       saveWorksheet_, convergence_, help_};
    w_.graphSub.systemMenu()->addSeparator();
    w_.graphSub.systemMenu()->addActions(graphMenu_);
    addToMenu(w_.convergenceSub.systemMenu(), {print_, saveWorksheet_, help_});

    w_.table.addActions({copyTable_, print_, saveWorksheet_, convergence_, help_});
    w_.table.setContextMenuPolicy(Qt::ActionsContextMenu);
    // A right click on the graph calculates; its menu comes from the keyboard.
    w_.graph.picThree().installEventFilter(this);
}

QAction* WindowActions::action(const char* text, QKeySequence key, Qt::ShortcutContext context,
                               void (WindowActions::*slot)()) {
    auto* a = new QAction(QString::fromUtf8(text), this);
    a->setShortcut(key);
    a->setShortcutContext(context);
    connect(a, &QAction::triggered, this, slot);
    return a;
}

bool WindowActions::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ContextMenu && watched == graphSurface_) {
        auto* e = static_cast<QContextMenuEvent*>(event);
        if (e->reason() != QContextMenuEvent::Mouse) {
            QMenu menu;
            menu.addActions(graphMenu_);
            menu.exec(e->globalPos());
        }
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void WindowActions::copyTable() {
    QGuiApplication::clipboard()->setText(QString::fromStdString(rowsAsText(w_.run.rows())));
}

QPixmap WindowActions::picture() const {
    // The surface as the user sees it, without the pointer's coordinates.
    PlotSurface& surface = w_.graph.picThree();
    auto* pointer = surface.findChild<QLabel*>("pointerCoordinates");
    const bool pointerShown = pointer && pointer->isVisible();
    if (pointerShown) pointer->hide();
    const QPixmap shot = surface.grab();
    if (pointerShown) pointer->show();
    return shot;
}

void WindowActions::copyPicture() {
    QGuiApplication::clipboard()->setPixmap(picture());
}

void WindowActions::savePicture() {
    const QPixmap shot = picture();
    const std::string name =
        dialogs_.saveFileName(kSavePictureCaption, "graph.png", "PNG images (*.png)");
    if (name.empty()) return;
    if (!shot.save(QString::fromStdString(name), "PNG"))
        dialogs_.message("The picture could not be saved as " + name + ".", kAppTitle);
}

void WindowActions::openConvergence() {
    w_.convergence.rowsChanged();
    w_.convergenceSub.show();
    w_.convergenceSub.raise();
    if (QMdiArea* area = w_.convergenceSub.mdiArea()) area->setActiveSubWindow(&w_.convergenceSub);
}

void WindowActions::frameRun() {
    w_.graph.frameRun();
}

WorksheetParts WindowActions::worksheet() const {
    const IterationDriver& driver = w_.panel.driver();
    const bool calculated = driver.outcome().ending != Ending::None;
    const CalculationInputs in = calculated ? driver.calculation().inputs : w_.panel.inputs();
    return {{in.fx, in.initialValue, in.tolerance, in.loops},
            outcomeText(driver.outcome()),
            w_.table,
            w_.graph,
            w_.convergence};
}

void WindowActions::printWorksheet() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName("worksheet");
    if (!dialogs_.choosePrinter(printer)) return;
    if (!paintWorksheet(printer, worksheet()))
        dialogs_.message("The worksheet could not be printed.", kAppTitle);
}

void WindowActions::saveWorksheet() {
    const std::string name =
        dialogs_.saveFileName(kSaveWorksheetCaption, "worksheet.pdf", "PDF files (*.pdf)");
    if (name.empty()) return;
    if (!saveWorksheetPdf(name, worksheet()))
        dialogs_.message("The worksheet could not be saved as " + name + ".", kAppTitle);
}

void WindowActions::toggleBasins() {
    w_.graph.showBasins(!w_.graph.basinsShown());
    basins_->setChecked(w_.graph.basinsShown());
}

void WindowActions::basinsChanged(bool available) {
    basins_->setEnabled(available);
    basins_->setChecked(w_.graph.basinsShown());
}

void WindowActions::openHelp() {
    w_.help().open();
}

}  // namespace quorel
