// The convergence window: how fast the calculation closes in on its root, as
// a plot of log10 |f(Xi)| and log10 |X(i+1) - X(i)| against i over a list of
// the step, its ratio and the estimated order per pass. It follows the rows
// of the table as they are shown and keeps nothing of its own.
#pragma once

#include <QWidget>

#include "table/convergence.h"

class QTableView;

namespace quorel {

class ConvergenceModel;
class ConvergencePlot;

inline constexpr const char* kConvergenceCaption = "Convergence";

class FrmConvergence : public QWidget {
    Q_OBJECT
  public:
    explicit FrmConvergence(const RowStore& rows, QWidget* parent = nullptr);

    // The rows changed (added, or a new calculation started).
    void rowsChanged();
    // Marks a pass of a replay (the list scrolls to it); -1 for none.
    void markPass(long long pass);

    const ConvergenceFigures& figures() const { return figures_; }
    ConvergencePlot& plot() { return *plot_; }
    QTableView& list() { return *list_; }
    ConvergenceModel& model() { return *model_; }

  protected:
    void showEvent(QShowEvent* event) override;

  signals:
    // "[" or "]": a replay step back (-1) or forward (+1).
    void replayStepRequested(int step);

  private:
    ConvergenceFigures figures_;
    ConvergencePlot* plot_;
    ConvergenceModel* model_;
    QTableView* list_;
};

}  // namespace quorel
