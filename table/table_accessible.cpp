#include "table/table_accessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QLabel>
#include <QPointer>
#include <algorithm>
#include <climits>

#include "table/frm_dspdta.h"

namespace quorel {
namespace {

constexpr int kColumns = 4;

class TableAccessible;

// One cell; made when asked for and read live, so it never shows a stale value.
class CellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface {
  public:
    CellAccessible(TableAccessible* table, int row, int column)
        : table_(table), row_(row), column_(column) {}

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.readOnly = true;
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TableCellInterface
                   ? static_cast<QAccessibleTableCellInterface*>(this)
                   : nullptr;
    }

    bool isSelected() const override { return false; }
    QList<QAccessibleInterface*> columnHeaderCells() const override;
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return column_; }
    int rowIndex() const override { return row_; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override;

  private:
    TableAccessible* table_;
    int row_;
    int column_;
};

// The widget that shows the rows, as a table.
class TableAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
  public:
    TableAccessible(QWidget* rows, FrmDSPDTA* window)
        : QAccessibleWidget(rows, QAccessible::Table), window_(window) {}

    ~TableAccessible() override {
        for (QAccessible::Id id : std::as_const(cells_)) QAccessible::deleteAccessibleInterface(id);
    }

    const FrmDSPDTA* tableWindow() const { return window_; }
    QWidget* rowsWidget() const { return widget(); }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return QStringLiteral("Iterations");
        if (t == QAccessible::Description)
            return QStringLiteral("One row per pass: i, Xi, f(Xi), f'(Xi)");
        return QAccessibleWidget::text(t);
    }

    int childCount() const override { return rowCount() * kColumns; }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount()) return nullptr;
        return cellAt(index / kColumns, index % kColumns);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!child || child->role() != QAccessible::Cell || child->parent() != this) return -1;
        const auto* cell = static_cast<const CellAccessible*>(child);
        return cell->rowIndex() * kColumns + cell->columnIndex();
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const auto [column, row] = window_->cellAt(widget()->mapFromGlobal(QPointF(x, y)));
        if (column < 0 || row >= rowCount()) return nullptr;
        return cellAt(static_cast<int>(row), column);
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TableInterface ? static_cast<QAccessibleTableInterface*>(this)
                                                   : QAccessibleWidget::interface_cast(type);
    }

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override {
        if (row < 0 || row >= rowCount() || column < 0 || column >= kColumns) return nullptr;
        dropRowsBeyond(rowCount());
        const long long key = static_cast<long long>(row) * kColumns + column;
        auto found = cells_.constFind(key);
        if (found != cells_.constEnd()) return QAccessible::accessibleInterface(*found);
        auto* cell = new CellAccessible(const_cast<TableAccessible*>(this), row, column);
        cells_.insert(key, QAccessible::registerAccessibleInterface(cell));
        return cell;
    }
    QString columnDescription(int column) const override {
        const QList<QLabel*> heads = headers();
        return column >= 0 && column < heads.size() ? heads[column]->text() : QString();
    }
    int columnCount() const override { return kColumns; }
    QString rowDescription(int row) const override {
        return QString::fromStdString(window_->cellText(0, row));
    }
    int rowCount() const override {
        // Cells are numbered by int: a table beyond that shows its first rows.
        return static_cast<int>(std::min<long long>(window_->rowCount(), INT_MAX / kColumns));
    }
    int selectedCellCount() const override { return 0; }
    QList<QAccessibleInterface*> selectedCells() const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override { dropRowsBeyond(rowCount()); }

    // The column captions, left to right, as the window shows them above the rows.
    QList<QLabel*> headers() const {
        QList<QLabel*> heads;
        for (QLabel* l : window_->findChildren<QLabel*>()) {
            if (l->mapTo(window_, QPoint()).y() < widget()->y()) heads.append(l);
        }
        std::sort(heads.begin(), heads.end(), [this](QLabel* a, QLabel* b) {
            return a->mapTo(window_, QPoint()).x() < b->mapTo(window_, QPoint()).x();
        });
        return heads;
    }

  private:
    // Cells of rows the table no longer has go; only a table that lost rows
    // since the last look has any.
    void dropRowsBeyond(int rows) const {
        const bool shrank = rows < knownRows_;
        knownRows_ = rows;
        if (!shrank) return;
        for (auto it = cells_.begin(); it != cells_.end();) {
            if (it.key() / kColumns >= rows) {
                QAccessible::deleteAccessibleInterface(it.value());
                it = cells_.erase(it);
            } else {
                ++it;
            }
        }
    }

    QPointer<FrmDSPDTA> window_;
    mutable QHash<long long, QAccessible::Id> cells_;
    mutable int knownRows_ = 0;
};

bool CellAccessible::isValid() const {
    return table_->isValid() && row_ < table_->rowCount();
}

QWindow* CellAccessible::window() const {
    return table_->window();
}

QAccessibleInterface* CellAccessible::parent() const {
    return table_;
}

QAccessibleInterface* CellAccessible::table() const {
    return table_;
}

QString CellAccessible::text(QAccessible::Text t) const {
    if (!isValid()) return {};
    const FrmDSPDTA* w = table_->tableWindow();
    if (t == QAccessible::Name || t == QAccessible::Value)
        return QString::fromStdString(w->cellText(column_, row_));
    // The full value, or what a failure means.
    if (t == QAccessible::Description) return w->cellToolTip(column_, row_);
    return {};
}

QRect CellAccessible::rect() const {
    if (!isValid()) return {};
    QWidget* rows = table_->rowsWidget();
    const QRectF r = table_->tableWindow()->cellRect(column_, row_);
    return QRect(rows->mapToGlobal(r.topLeft().toPoint()), r.size().toSize());
}

QList<QAccessibleInterface*> CellAccessible::columnHeaderCells() const {
    const QList<QLabel*> heads = table_->headers();
    if (column_ >= heads.size()) return {};
    return {QAccessible::queryAccessibleInterface(heads[column_])};
}

QAccessibleInterface* tableFactory(const QString&, QObject* object) {
    auto* rows = qobject_cast<QWidget*>(object);
    auto* window = rows ? qobject_cast<FrmDSPDTA*>(rows->parentWidget()) : nullptr;
    if (!window || window->rowsView() != rows) return nullptr;
    return new TableAccessible(rows, window);
}

}  // namespace

void installTableAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(tableFactory);
        return true;
    }();
    (void)installed;
}

}  // namespace quorel
