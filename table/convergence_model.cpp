#include "table/convergence_model.h"

#include <algorithm>
#include <climits>

#include "common/failure.h"
#include "common/numtext.h"

namespace quorel {
namespace {

// A list view counts its lines in an int.
constexpr long long kMaxLines = INT_MAX;

}  // namespace

ConvergenceModel::ConvergenceModel(const ConvergenceFigures& figures, QObject* parent)
    : QAbstractTableModel(parent), figures_(figures) {}

void ConvergenceModel::rowsChanged() {
    const long long now = std::min(figures_.size(), kMaxLines);
    if (now < shown_) {
        beginResetModel();
        shown_ = now;
        endResetModel();
        return;
    }
    if (now == shown_) return;
    const long long before = shown_;
    beginInsertRows({}, static_cast<int>(before), static_cast<int>(now - 1));
    shown_ = now;
    endInsertRows();
    // A new row completes the step of the row before, the ratio of the one
    // before that and the order of the third.
    const long long first = std::max(0LL, before - 3);
    if (first < before)
        emit dataChanged(index(static_cast<int>(first), kStep),
                         index(static_cast<int>(before - 1), kOrder));
}

QString ConvergenceModel::figureText(const Figure& f) {
    switch (f.kind) {
        case Figure::kNumber:
            // Six significant digits, written as the program writes numbers.
            return QString::fromStdString(numberToText(f.value, 6));
        case Figure::kFailed:
            return QString::fromLatin1(failureInfo(f.failure).cell);
        default:
            return {};
    }
}

int ConvergenceModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(shown_);
}

int ConvergenceModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant ConvergenceModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    const long long i = index.row();
    switch (index.column()) {
        case kPass:
            return QString::number(i);
        case kAbsFx:
            return figureText(figures_.absFx(i));
        case kStep:
            return figureText(figures_.step(i));
        case kRatio:
            return figureText(figures_.ratio(i));
        case kOrder:
            return figureText(figures_.order(i));
        default:
            return {};
    }
}

QVariant ConvergenceModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) return {};
    if (role == Qt::DisplayRole) {
        static const char* const kHeads[kColumns] = {"i", "|f(Xi)|", "|X(i+1)-X(i)|", "ratio",
                                                     "order"};
        return QString::fromUtf8(kHeads[section]);
    }
    if (role == Qt::ToolTipRole) {
        static const char* const kTips[kColumns] = {
            "The pass, as in the table", "The size of f at Xi", "How far pass i moved X",
            "|X(i+2)-X(i+1)| / |X(i+1)-X(i)|: how much the next step shrinks",
            "log(ratio of pass i) / log(ratio of pass i-1): about 2 near a simple root, "
            "1 near a double root"};
        return QString::fromUtf8(kTips[section]);
    }
    return {};
}

}  // namespace quorel
