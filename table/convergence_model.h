// The convergence figures as a list view's model: one line per row of the
// calculation, read from the rows when a line is shown.
#pragma once

#include <QAbstractTableModel>

#include "table/convergence.h"

namespace quorel {

class ConvergenceModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Column { kPass, kAbsFx, kStep, kRatio, kOrder, kColumns };

    explicit ConvergenceModel(const ConvergenceFigures& figures, QObject* parent = nullptr);

    // Catches up with the rows: new rows are added, and the lines whose
    // figures a new row completes are told to show again; fewer rows than
    // before (a new calculation) start the list afresh.
    void rowsChanged();
    // Text of a figure: 6 significant digits, a failure by its name, none blank.
    static QString figureText(const Figure& f);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    const ConvergenceFigures& figures_;
    long long shown_ = 0;
};

}  // namespace quorel
