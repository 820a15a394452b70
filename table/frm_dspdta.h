// The iteration table window: one row per iteration (number, Xi, f(Xi),
// f'(Xi)) on a content panel that slides inside a fixed viewport, moved by a
// vertical scroll bar. All geometry is in twips: row pitch 335, cell height
// 255, viewport 4695 high. Rows are kept as numbers and made into texts only
// when they are painted or asked for, so a million rows stay light. A value
// that was not computed shows the name of its failure instead of a number.
#pragma once

#include <QFont>
#include <QString>
#include <QWidget>
#include <memory>
#include <string>
#include <utility>

#include "common/text_fit.h"
#include "run/row_store.h"

class QScrollBar;

namespace quorel {

class RunModel;

class FrmDSPDTA : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kRowPitch = 335;
    static constexpr int kViewportHeight = 4695;

    // Shows the rows of `run` (of a run of its own when none is given).
    explicit FrmDSPDTA(RunModel* run = nullptr, QWidget* parent = nullptr);
    ~FrmDSPDTA() override;

    // Failure of a cell that shows nothing (a blank row 0, a cell outside the table).
    static constexpr int kBlank = -1;

    // Writes the row numbered `row` into the run shown and shows it; a row
    // of that number already shown gets the new cells.
    void DspDta(long long row, double Xi, double FXi, double DFXi);
    // The same with each value's failure (0: computed).
    void DspDta(long long row, CellValue Xi, CellValue FXi, CellValue DFXi);
    // Empties the table (row 0 stays, blank), and the run's rows with it.
    void Dta_Clr();
    // Rows `from` to `to` of the run were added: the newest comes into view.
    void showRows(long long from, long long to);
    // Recomputes the scroll bar from the content height.
    void Enable_Scroll();
    // Scroll bar handlers: move the content to Top = -position.
    void vsbScroll_Change();
    void vsbScroll_Scroll();
    // Marks a row (a replay's pass) and scrolls it into view; -1 for none.
    void markRow(long long row);
    long long markedRow() const;
    // Repaints the window at once.
    void Refresh();
    // While held, adding rows leaves the scroll bar to the next Refresh (or
    // the release): a long calculation adds rows far faster than the bar can
    // follow.
    void holdUpdates(bool hold);

    // What the table shows. Rows 0..rowCount()-1 exist (row 0 always).
    long long rowCount() const;
    // What cell (column 0..3, row) holds as text: "" when blank.
    std::string cellText(int column, long long row) const;
    // What the cell holds: column 0 the row number, columns 1..3 Xi, f(Xi),
    // f'(Xi) with their failure; failure kBlank for a blank cell.
    CellValue cellValue(int column, long long row) const;
    // The font the cell's text is drawn in: its column's font, smaller where
    // the text would not fit; and the width a column's texts may use (the
    // cell less a pixel of background on each side), device-independent pixels.
    QFont cellFont(int column, long long row) const;
    static double cellTextWidth(int column);
    // Exactly what the cell shows: its text, or for a row number too long at
    // the smallest size a row number is drawn in, its last digits.
    QString cellShownText(int column, long long row) const;
    // The cell's full value, shown when the pointer rests on it.
    QString cellToolTip(int column, long long row) const;
    double cellTop(long long row) const;  // twips inside the content
    double contentHeight() const;         // twips
    double contentTop() const;            // twips, -position
    QScrollBar* vsbScroll() const;
    // The widget that shows the rows, and where a cell stands on it
    // (device-independent pixels).
    QWidget* rowsView() const;
    QRectF cellRect(int column, long long row) const;
    // The cell under a point of rowsView(): column and row, or column -1.
    std::pair<int, long long> cellAt(QPointF pos) const;
    // The rows as numbers, for the views that read them.
    const RowStore& rows() const;

  private:
    void syncBar();
    FittedText shownCell(int column, long long row) const;

    class Impl;
    std::unique_ptr<Impl> d_;
};

}  // namespace quorel
