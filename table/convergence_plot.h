// The convergence plot: log10 |f(Xi)| and log10 |X(i+1) - X(i)| against the
// pass i, read from the rows at each paint. Long runs are drawn as the lowest
// and highest value of each pixel column, so a paint draws a few points per
// column whatever the number of passes.
#pragma once

#include <QWidget>

#include "table/convergence.h"

namespace quorel {

class ConvergencePlot : public QWidget {
    Q_OBJECT
  public:
    ConvergencePlot(const ConvergenceFigures& figures, QWidget* parent = nullptr);

    // The pass marked by a replay; -1 for none.
    void markPass(long long pass);
    long long markedPass() const { return marked_; }

    static const QColor kFxColor;
    static const QColor kStepColor;
    static const QColor kMarkColor;

    QSize sizeHint() const override { return {400, 220}; }

  protected:
    void paintEvent(QPaintEvent* e) override;

  private:
    const ConvergenceFigures& figures_;
    long long marked_ = -1;
};

}  // namespace quorel
