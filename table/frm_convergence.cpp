#include "table/frm_convergence.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include "common/replay_keys.h"
#include "table/convergence_model.h"
#include "table/convergence_plot.h"

namespace quorel {

FrmConvergence::FrmConvergence(const RowStore& rows, QWidget* parent)
    : QWidget(parent), figures_(rows) {
    setObjectName("FrmConvergence");
    setWindowTitle(kConvergenceCaption);
    plot_ = new ConvergencePlot(figures_);
    model_ = new ConvergenceModel(figures_, this);
    list_ = new QTableView;
    list_->setModel(model_);
    list_->verticalHeader()->hide();
    list_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 4);
    list_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    // Room for a pass number of ten digits.
    list_->horizontalHeader()->setSectionResizeMode(ConvergenceModel::kPass, QHeaderView::Fixed);
    list_->horizontalHeader()->resizeSection(
        ConvergenceModel::kPass, list_->fontMetrics().horizontalAdvance("0000000000") + 10);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setWordWrap(false);
    auto* split = new QSplitter(Qt::Vertical);
    split->addWidget(plot_);
    split->addWidget(list_);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    split->setChildrenCollapsible(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(split);
    addReplayKeys(this, [this](int step) { emit replayStepRequested(step); });
}

void FrmConvergence::rowsChanged() {
    // A list view keeps a little for every row it lists (8 MB at a million
    // rows), so a hidden list does not grow with the run; it catches up when
    // shown. A new calculation empties it at once.
    if (!isVisible() && figures_.size() >= model_->rowCount()) return;
    QScrollBar* bar = list_->verticalScrollBar();
    const bool following = bar->value() == bar->maximum() && plot_->markedPass() < 0;
    model_->rowsChanged();
    if (following) list_->scrollToBottom();
    plot_->update();
}

void FrmConvergence::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    rowsChanged();
    markPass(plot_->markedPass());
}

void FrmConvergence::markPass(long long pass) {
    plot_->markPass(pass);
    if (pass < 0 || pass >= model_->rowCount()) {
        list_->clearSelection();
        return;
    }
    const QModelIndex at = model_->index(static_cast<int>(pass), 0);
    list_->selectionModel()->select(
        at, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    // Rows just listed (as when the window opens) are laid out first, so
    // that the scroll reaches them.
    list_->doItemsLayout();
    list_->scrollTo(at);
}

}  // namespace quorel
