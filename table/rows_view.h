// The rows view of the iteration table (picOne): the fixed viewport that
// paints the rows that show, the cells' places and texts, and the cell under
// a point. The content panel is only a place inside it (Content::top).
#pragma once

#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QWidget>
#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <utility>

#include "common/text_fit.h"
#include "run/row_store.h"
#include "table/frm_dspdta.h"

class QScrollBar;

namespace quorel::table_rows {

constexpr int kColumns = 4;
constexpr long long kPitch = FrmDSPDTA::kRowPitch;
constexpr long long kCellHeight = 255;

// LabLops, LabRoot, LabFx, LabError: Left and Width inside the content.
constexpr std::array<double, kColumns> kCellLeft = {0, 600, 2160, 3720};
constexpr std::array<double, kColumns> kCellWidth = {495, 1455, 1455, 1695};

QRectF twipsRectF(double left, double top, double width, double height);

// picTwo: the rows and the content panel's place inside the viewport.
struct Content {
    const RowStore* rows = nullptr;  // the run's rows 0..n; none: row 0 shows blank
    long long top = 0;               // twips, -position
    long long marked = -1;

    long long rowCount() const { return std::max(1LL, rows->size()); }
    // One pitch more than the rows occupy.
    long long height() const { return kPitch * (rows->size() + 1); }

    CellValue value(int column, long long row) const;
    std::string text(int column, long long row) const;
    // A cell's place in the viewport, in DIP.
    QRectF cellRect(int column, long long row) const;
};

// A cell's text as drawn: in its column's font, made smaller where the text
// would not fit the cell with a pixel of background on each side.
FittedText fittedCell(const QFont& columnFont, int column, const QString& text,
                      const QPaintDevice* device);

// picOne: the fixed viewport; paints only the rows that show. The wheel over
// it turns the scroll bar, as over the bar itself, and so do the keys once a
// click or Tab has given it the focus.
class RowsView : public QWidget {
    Q_OBJECT
  public:
    RowsView(const Content& content, QWidget* parent);

    void setCellFonts(const std::array<QFont, kColumns>& fonts) { fonts_ = fonts; }
    const QFont& columnFont(int column) const { return fonts_[column]; }
    void setScrollBar(QScrollBar* bar) { bar_ = bar; }
    // Marks the viewport for repainting, once until it is next painted: rows
    // come far faster than frames, and whatever paints next (a refresh, a
    // message box over it) shows them all.
    void touch() {
        if (dirty_) return;
        dirty_ = true;
        update();
    }

    // The cell under a point of the viewport: column and row, or column -1.
    std::pair<int, long long> cellAt(QPointF pos) const;

    std::function<QString(int, long long)> toolTip;

  protected:
    bool event(QEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    const Content& content_;
    std::array<QFont, kColumns> fonts_;
    QScrollBar* bar_ = nullptr;
    bool dirty_ = false;
};

}  // namespace quorel::table_rows
