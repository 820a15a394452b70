// The rows of the iteration table as numbers: per row Xi, f(Xi), f'(Xi) and,
// for each of the three, the number of the failure that kept it from being
// computed (0: computed), as they were shown. Texts are made only when a row
// is shown. Rows live in fixed blocks, so adding a row never moves the
// others; a block in which no value failed keeps no failure numbers. Pure C++.
#pragma once

#include <array>
#include <memory>
#include <utility>
#include <vector>

namespace quorel {

// A stored value and why it may not be a result: failure 0 means computed,
// otherwise the number of the failure that kept it from being computed (the
// value is then the one the calculation held, not a result).
struct CellValue {
    double value = 0.0;
    int failure = 0;
};

class RowStore {
  public:
    static constexpr int kValues = 3;  // Xi, f(Xi), f'(Xi)
    static constexpr long long kBlockRows = 1024;

    RowStore();
    ~RowStore();
    RowStore(const RowStore&) = delete;
    RowStore& operator=(const RowStore&) = delete;

    long long size() const { return size_; }

    // Writes row `row`: replaces it when it exists, else appends it, first
    // filling any rows between the last one and it with missing values.
    // Either the whole row is written or, when memory runs out, std::bad_alloc
    // leaves every row as it was (rows filled in before it stay whole).
    void set(long long row, const std::array<CellValue, kValues>& values);

    // Value `index` (0 Xi, 1 f(Xi), 2 f'(Xi)) of an existing row.
    CellValue at(long long row, int index) const;

    // Drops every row and gives the memory back.
    void clear() noexcept;
    // Exchanges the rows of two stores without copying them.
    void swap(RowStore& other) noexcept {
        blocks_.swap(other.blocks_);
        std::swap(size_, other.size_);
    }

  private:
    struct Block;

    void write(long long row, const std::array<CellValue, kValues>& values);

    std::vector<std::unique_ptr<Block>> blocks_;
    long long size_ = 0;
};

}  // namespace quorel
