#include "run/row_store.h"

#include "common/failure.h"

namespace quorel {

struct RowStore::Block {
    std::array<double, kValues> values[kBlockRows];
    // Made when a value of the block first fails; all 0 until then.
    std::unique_ptr<std::array<int, kValues>[]> failures;
};

RowStore::RowStore() = default;
RowStore::~RowStore() = default;

void RowStore::set(long long row, const std::array<CellValue, kValues>& values) {
    if (row < 0) return;
    const std::array<CellValue, kValues> missing = {
        CellValue{0.0, kErrMissing}, CellValue{0.0, kErrMissing}, CellValue{0.0, kErrMissing}};
    while (size_ < row) write(size_, missing);
    write(row, values);
}

void RowStore::write(long long row, const std::array<CellValue, kValues>& values) {
    // Every allocation comes first: if one fails nothing has changed (a new
    // block that cannot be stored is freed again).
    const auto blockIndex = static_cast<std::size_t>(row / kBlockRows);
    // Rows are written before they are read: a new block is not zeroed first.
    if (blockIndex == blocks_.size()) blocks_.push_back(std::make_unique_for_overwrite<Block>());
    Block& b = *blocks_[blockIndex];
    const bool failed = values[0].failure || values[1].failure || values[2].failure;
    if (failed && !b.failures)
        b.failures = std::make_unique<std::array<int, kValues>[]>(kBlockRows);
    const auto i = static_cast<std::size_t>(row % kBlockRows);
    for (int k = 0; k < kValues; ++k) {
        b.values[i][k] = values[k].value;
        if (b.failures) b.failures[i][k] = values[k].failure;
    }
    if (row == size_) ++size_;
}

CellValue RowStore::at(long long row, int index) const {
    const Block& b = *blocks_[static_cast<std::size_t>(row / kBlockRows)];
    const auto i = static_cast<std::size_t>(row % kBlockRows);
    return {b.values[i][index], b.failures ? b.failures[i][index] : 0};
}

void RowStore::clear() noexcept {
    std::vector<std::unique_ptr<Block>>().swap(blocks_);
    size_ = 0;
}

}  // namespace quorel
