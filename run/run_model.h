// What one calculation produced, held once: the f(x) it was asked for and the
// centre of its plot, the curve's samples and what samples it again, the rows
// (a pass is a row), and the outcome. The driver writes it; the windows read
// it and learn of changes through its signals. Rows and curve samples added
// go out together at publish(), so a long run tells its readers once a frame,
// not once a row.
#pragma once

#include <QObject>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "run/outcome.h"
#include "run/row_store.h"

namespace quorel {

// One sample of the curve: f(x), or ok false where f has no value there.
struct CurveSample {
    double x = 0.0;
    double y = 0.0;
    bool ok = false;
};

class RunModel : public QObject {
    Q_OBJECT
  public:
    explicit RunModel(QObject* parent = nullptr);
    ~RunModel() override;

    const RowStore& rows() const { return rows_; }
    const std::vector<CurveSample>& curve() const { return curve_; }
    const Outcome& outcome() const { return outcome_; }
    const std::string& function() const { return function_; }
    double center() const { return center_; }
    // The rows the readers have been told of.
    long long publishedRows() const { return publishedRows_; }

    // Written by the driver.
    void setFunction(const std::string& fx) { function_ = fx; }
    // Empties the run about a new centre: no curve, no rows, no outcome. A
    // calculation that starts (`startsRun`) while the previous run is kept
    // makes the rows so far the previous run; otherwise that goes too.
    void clear(double center, bool startsRun = false);

    // The previous run, kept for comparison while asked to: its rows and
    // outcome; none until a run starts after one with rows.
    void setKeepPrevious(bool keep);
    const RowStore& previousRows() const { return previousRows_; }
    const Outcome& previousOutcome() const { return previousOutcome_; }
    // f as the curve shows it: a Failure where it has no value.
    void setCurveSource(std::function<double(double)> f) { source_ = std::move(f); }
    // Adds samples of `f` every `step` from `from` to `to` (fewer when `to` is
    // so far out that a step no longer moves t); `failed` hears where f had
    // no value and why.
    void sampleCurve(double from, double to, double step, const std::function<double(double)>& f,
                     const std::function<void(int failure, double t)>& failed = {});
    // Writes row `row` (see RowStore::set).
    void setRow(long long row, const std::array<CellValue, RowStore::kValues>& values) {
        rows_.set(row, values);
    }
    void setOutcome(Outcome outcome);
    // Drops the rows without a word (a table emptied on its own).
    void dropRows() {
        rows_.clear();
        publishedRows_ = 0;
    }
    // Tells the readers of the samples and rows added since the last time.
    void publish();

    // The curve sampled again every 0.01 from `from` to `to` (more coarsely
    // where that would take more than a few samples per pixel of a wide view),
    // for a view that has changed; nothing without a curve source.
    void resampleCurve(double from, double to);

  signals:
    void cleared(double center);
    // Samples from index `from` on are new.
    void curveAdded(long long from);
    // The curve was sampled again from the start.
    void curveResampled();
    // Rows `from` to `to` (inclusive) are new.
    void rowsAdded(long long from, long long to);
    void outcomeChanged();

  private:
    std::string function_;
    double center_ = 0.0;
    std::function<double(double)> source_;
    std::vector<CurveSample> curve_;
    RowStore rows_;
    Outcome outcome_;
    bool keepPrevious_ = false;
    RowStore previousRows_;
    Outcome previousOutcome_;
    std::size_t publishedCurve_ = 0;
    long long publishedRows_ = 0;
};

}  // namespace quorel
