#include "table/row_store.h"

#include "common/failure.h"

namespace quorel {
namespace {

// The failure of each of a row's three values in one byte: six states each
// (computed, the four failures the program tells apart, any other failure),
// 6 * 6 * 6 = 216 codes.
constexpr int kStates = 6;
constexpr int kOtherFailure = 1;  // how an unknown failure number reads back

int stateOf(int failure) {
    switch (failure) {
        case 0:
            return 0;
        case kErrDomain:
            return 1;
        case kErrOverflow:
            return 2;
        case kErrDivZero:
            return 3;
        case kErrMissing:
            return 4;
        default:
            return 5;
    }
}

int failureOf(int state) {
    constexpr int kFailures[kStates] = {0,           kErrDomain,  kErrOverflow,
                                        kErrDivZero, kErrMissing, kOtherFailure};
    return kFailures[state];
}

std::uint8_t packStates(const std::array<CellValue, RowStore::kValues>& values) {
    int code = 0;
    for (int i = RowStore::kValues - 1; i >= 0; --i)
        code = code * kStates + stateOf(values[i].failure);
    return static_cast<std::uint8_t>(code);
}

int unpackState(std::uint8_t code, int index) {
    int c = code;
    for (int i = 0; i < index; ++i) c /= kStates;
    return c % kStates;
}

}  // namespace

struct RowStore::Block {
    double values[kValues][kBlockRows];
    std::uint8_t states[kBlockRows];
};

RowStore::RowStore() = default;
RowStore::~RowStore() = default;

void RowStore::set(long long row, const std::array<CellValue, kValues>& values) {
    if (row < 0) return;
    if (row < size_) {
        write(row, values);
        return;
    }
    const std::array<CellValue, kValues> missing = {
        CellValue{0.0, kErrMissing}, CellValue{0.0, kErrMissing}, CellValue{0.0, kErrMissing}};
    while (size_ < row) append(missing);
    append(values);
}

void RowStore::append(const std::array<CellValue, kValues>& values) {
    if (size_ == static_cast<long long>(blocks_.size()) * kBlockRows) {
        // Room for the pointer first, then the block: if either allocation
        // fails nothing has changed.
        if (blocks_.size() == blocks_.capacity()) blocks_.reserve(2 * blocks_.size() + 8);
        blocks_.push_back(std::unique_ptr<Block>(new Block));
    }
    write(size_, values);
    ++size_;
}

void RowStore::write(long long row, const std::array<CellValue, kValues>& values) noexcept {
    Block& b = *blocks_[static_cast<std::size_t>(row / kBlockRows)];
    const auto i = static_cast<std::size_t>(row % kBlockRows);
    for (int v = 0; v < kValues; ++v) b.values[v][i] = values[v].value;
    b.states[i] = packStates(values);
}

CellValue RowStore::at(long long row, int index) const {
    const Block& b = *blocks_[static_cast<std::size_t>(row / kBlockRows)];
    const auto i = static_cast<std::size_t>(row % kBlockRows);
    return {b.values[index][i], failureOf(unpackState(b.states[i], index))};
}

void RowStore::clear() noexcept {
    std::vector<std::unique_ptr<Block>>().swap(blocks_);
    size_ = 0;
}

}  // namespace quorel
