// What the windows offer beyond their specified controls: copying the table
// and the graph's picture, saving the picture, framing the run on the graph,
// the basin strip, the worksheet (print, PDF), the convergence window and the
// help, in the windows' system menus, context menus and as keys (Ctrl+C on
// the table or the graph, F frames the run, B the strip, Ctrl+P print, Ctrl+S
// PDF, F3 convergence, F1 help).
#pragma once

#include <QList>
#include <QObject>
#include <QPixmap>
#include <functional>

#include "app/worksheet.h"
#include "common/user_dialogs.h"

class QAction;
class QMdiSubWindow;
class QWidget;

namespace quorel {

class FrmConvergence;
class FrmDSPDTA;
class FrmFx;
class FrmGraph;
class HelpWindow;
class RunModel;

inline constexpr const char* kSavePictureCaption = "Save picture";
inline constexpr const char* kSaveWorksheetCaption = "Save worksheet as PDF";

class WindowActions : public QObject {
    Q_OBJECT
  public:
    struct Windows {
        QWidget& frame;
        FrmFx& panel;
        const RunModel& run;
        FrmDSPDTA& table;
        QMdiSubWindow& tableSub;
        FrmGraph& graph;
        QMdiSubWindow& graphSub;
        FrmConvergence& convergence;
        QMdiSubWindow& convergenceSub;
        // The help window, made on first use.
        std::function<HelpWindow&()> help;
    };
    WindowActions(const Windows& windows, UserDialogs& dialogs, QObject* parent = nullptr);

    // Every row of the table as text, to the clipboard.
    void copyTable();
    // The graph's picture as shown, at the screen's resolution.
    QPixmap picture() const;
    void copyPicture();
    // Asks for a file name and writes the picture there as PNG.
    void savePicture();
    void openConvergence();
    // The graph's view framed about every iterate of the table's run.
    void frameRun();
    void openHelp();
    // F1, for the help window to take on when it is made.
    QAction* helpAction() const { return help_; }
    // The worksheet of the latest calculation, through the print dialog or
    // into a PDF file of the user's choosing.
    void printWorksheet();
    void saveWorksheet();
    // Key B and the graph's menus: the basin strip on or off.
    void toggleBasins();
    // The strip was shown or hidden; `available` once a run can fill it.
    void basinsChanged(bool available);

  signals:
    // "Keep previous run" in the graph's menus was turned on or off.
    void keepPreviousToggled(bool keep);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    WorksheetParts worksheet() const;
    QAction* action(const char* text, QKeySequence key, Qt::ShortcutContext context,
                    void (WindowActions::*slot)());

    Windows w_;
    // Kept as a plain address: the filter compares it while windows are torn
    // down, when the graph may no longer be asked for its surface.
    const QObject* graphSurface_;
    UserDialogs& dialogs_;
    QAction* copyTable_;
    QAction* copyPicture_;
    QAction* savePicture_;
    QAction* convergence_;
    QAction* frameRun_;
    QList<QAction*> graphMenu_;  // the graph's window menu and its keyboard menu
    QAction* help_;
    QAction* basins_;
    QAction* keepPrevious_;
    QAction* print_;
    QAction* saveWorksheet_;
};

}  // namespace quorel
