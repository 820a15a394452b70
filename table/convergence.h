// How fast a calculation closes in on its root, worked out from the rows it
// listed: per row i the step |X(i+1) - X(i)|, the ratio of the next step to
// this one and the estimated order of convergence
//   log(|dX(i+1)| / |dX(i)|) / log(|dX(i)| / |dX(i-1)|),
// which reads about 2 near a simple root and 1 near a double one. Nothing is
// kept: every figure is read from the rows when asked for. Pure C++.
#pragma once

#include "run/row_store.h"

namespace quorel {

// One figure: a number, none (the row has no such figure, for example the
// step of the last row), or the failure of a value it is made from.
struct Figure {
    enum Kind { kNumber, kNone, kFailed };
    Kind kind = kNone;
    double value = 0.0;
    int failure = 0;

    static Figure number(double v) { return {kNumber, v, 0}; }
    static Figure failed(int failure) { return {kFailed, 0.0, failure}; }
    bool isNumber() const { return kind == kNumber; }
};

class ConvergenceFigures {
  public:
    explicit ConvergenceFigures(const RowStore& rows) : rows_(rows) {}

    long long size() const { return rows_.size(); }
    // |f(Xi)|.
    Figure absFx(long long i) const;
    // |X(i+1) - X(i)|.
    Figure step(long long i) const;
    // |X(i+2) - X(i+1)| / |X(i+1) - X(i)|; none where the step is 0.
    Figure ratio(long long i) const;
    // log(ratio(i)) / log(ratio(i-1)); none where ratio(i-1) is 1 or 0.
    Figure order(long long i) const;

    // visit(i, absFx(i), step(i)) for every row in order, reading each row once.
    template <class Visit>
    void scan(Visit&& visit) const;

  private:
    static Figure absOf(CellValue fx);
    static Figure between(CellValue x0, CellValue x1);

    const RowStore& rows_;
};

template <class Visit>
void ConvergenceFigures::scan(Visit&& visit) const {
    const long long n = size();
    if (n == 0) return;
    CellValue x = rows_.at(0, 0);
    for (long long i = 0; i + 1 < n; ++i) {
        const CellValue next = rows_.at(i + 1, 0);
        visit(i, absOf(rows_.at(i, 1)), between(x, next));
        x = next;
    }
    visit(n - 1, absOf(rows_.at(n - 1, 1)), Figure{});
}

}  // namespace quorel
