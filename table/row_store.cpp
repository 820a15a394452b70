#include "table/row_store.h"

#include <bit>

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

bool sameBits(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

// The next iterate a row leads to; the one expression both for deciding
// that a row's Xi need not be kept and for working it out again.
double stepFrom(double x, double fx, double dfx) {
    return x - fx / dfx;
}

constexpr std::size_t kWords = RowStore::kBlockRows / 64;

}  // namespace

struct RowStore::Block {
    double fx[kBlockRows];
    double dfx[kBlockRows];
    std::uint8_t states[kBlockRows];
    std::uint64_t stepped[kWords] = {};  // bit set: Xi is the step from the row before
    std::vector<double> keptX;           // Xi of the other rows, in row order

    bool isStepped(std::size_t i) const { return (stepped[i / 64] >> (i % 64)) & 1; }
    // Where row i's Xi (kept) stands in keptX.
    std::size_t keptIndex(std::size_t i) const {
        std::size_t n = 0;
        for (std::size_t w = 0; w < i / 64; ++w) n += 64 - std::popcount(stepped[w]);
        const std::uint64_t below = (std::uint64_t(1) << (i % 64)) - 1;
        return n + std::popcount(~stepped[i / 64] & below);
    }
    // Row i's Xi becomes stepped or kept (as x); keptX has room for one more.
    void keep(std::size_t i, bool step, double x) noexcept {
        const std::size_t k = keptIndex(i);
        const auto at = keptX.begin() + static_cast<std::ptrdiff_t>(k);
        const std::uint64_t bit = std::uint64_t(1) << (i % 64);
        if (isStepped(i)) {
            if (step) return;
            keptX.insert(at, x);
            stepped[i / 64] &= ~bit;
        } else if (step) {
            keptX.erase(at);
            stepped[i / 64] |= bit;
        } else {
            *at = x;
        }
    }
    double x(std::size_t i) const {
        std::size_t k = i;
        while (isStepped(k)) --k;
        double v = keptX[keptIndex(k)];
        for (; k < i; ++k) v = stepFrom(v, fx[k], dfx[k]);
        return v;
    }
};

RowStore::RowStore() = default;
RowStore::~RowStore() = default;

void RowStore::set(long long row, const std::array<CellValue, kValues>& values) {
    if (row < 0) return;
    if (row < size_) {
        replace(row, values);
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
        auto block = std::make_unique<Block>();
        block->keptX.reserve(kBlockRows / kKeptEvery);
        blocks_.push_back(std::move(block));
    }
    Block& b = *blocks_[static_cast<std::size_t>(size_ / kBlockRows)];
    const auto i = static_cast<std::size_t>(size_ % kBlockRows);
    const double x = values[0].value;
    // Kept first: if that allocation fails nothing has changed.
    if (i % kKeptEvery != 0 && sameBits(x, stepFrom(lastX_, b.fx[i - 1], b.dfx[i - 1])))
        b.stepped[i / 64] |= std::uint64_t(1) << (i % 64);
    else
        b.keptX.push_back(x);
    b.fx[i] = values[1].value;
    b.dfx[i] = values[2].value;
    b.states[i] = packStates(values);
    lastX_ = x;
    ++size_;
}

void RowStore::replace(long long row, const std::array<CellValue, kValues>& values) {
    // Only this row and the next can change between keeping their Xi and
    // stepping to it; every later row steps from values that stay.
    Block& b = *blocks_[static_cast<std::size_t>(row / kBlockRows)];
    const auto r = static_cast<std::size_t>(row % kBlockRows);
    const bool hasNext = row + 1 < size_ && r + 1 < static_cast<std::size_t>(kBlockRows);
    const double x = values[0].value;
    const double nextX = hasNext ? b.x(r + 1) : 0.0;
    const bool stepped =
        r % kKeptEvery != 0 && sameBits(x, stepFrom(b.x(r - 1), b.fx[r - 1], b.dfx[r - 1]));
    const bool nextStepped = hasNext && (r + 1) % kKeptEvery != 0 &&
                             sameBits(nextX, stepFrom(x, values[1].value, values[2].value));
    b.keptX.reserve(b.keptX.size() + 2);  // if this fails nothing has changed
    if (hasNext) b.keep(r + 1, nextStepped, nextX);
    b.keep(r, stepped, x);
    b.fx[r] = values[1].value;
    b.dfx[r] = values[2].value;
    b.states[r] = packStates(values);
    if (row == size_ - 1) lastX_ = x;
}

CellValue RowStore::at(long long row, int index) const {
    const Block& b = *blocks_[static_cast<std::size_t>(row / kBlockRows)];
    const auto i = static_cast<std::size_t>(row % kBlockRows);
    const double v = index == 0 ? b.x(i) : index == 1 ? b.fx[i] : b.dfx[i];
    return {v, failureOf(unpackState(b.states[i], index))};
}

void RowStore::clear() noexcept {
    std::vector<std::unique_ptr<Block>>().swap(blocks_);
    size_ = 0;
    lastX_ = 0.0;
}

}  // namespace quorel
