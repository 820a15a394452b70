// The iteration table window: one row per iteration (number, Xi, f(Xi),
// f'(Xi)) on a content panel that slides inside a fixed viewport, moved by a
// vertical scroll bar. All geometry is in twips: row pitch 335, cell height
// 255, viewport 4695 high. Rows are kept as texts only and painted on demand,
// so tens of thousands of rows stay light.
#pragma once

#include <QWidget>
#include <memory>
#include <string>

#include "common/program_state.h"

class QScrollBar;

namespace quorel {

class FrmDSPDTA : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kRowPitch = 335;
    static constexpr int kViewportHeight = 4695;

    explicit FrmDSPDTA(ProgramState& state, QWidget* parent = nullptr);
    ~FrmDSPDTA() override;

    // Appends the row numbered state.IterCount.
    void DspDta(double Xi, double FXi, double DFXi);
    // Empties the table (row 0 stays, blank) and sets IterCount to 0.
    void Dta_Clr();
    // Recomputes the scroll bar from the content height.
    void Enable_Scroll();
    // Scroll bar handlers: move the content to Top = -position.
    void vsbScroll_Change();
    void vsbScroll_Scroll();
    // Repaints the window at once.
    void Refresh();

    // What the table shows. Rows 0..rowCount()-1 exist (row 0 always).
    long long rowCount() const;
    std::string cellText(int column, long long row) const;  // column 0..3
    double cellTop(long long row) const;                    // twips inside the content
    double contentHeight() const;                           // twips
    double contentTop() const;                              // twips, -position
    QScrollBar* vsbScroll() const;

  private:
    class Impl;
    std::unique_ptr<Impl> d_;
};

}  // namespace quorel
