// The rows of the iteration table as numbers: per row Xi, f(Xi), f'(Xi) and,
// for each of the three, whether it was computed or which failure kept it
// from being computed. Texts are made only when a row is shown. Rows live in
// fixed blocks, so adding a row never moves the others. A row's Xi that is,
// bit for bit, the tangent step Xi - f(Xi)/f'(Xi) from the row before it (as
// every pass of a calculation makes it) is not kept but worked out again when
// read, from the nearest row that keeps its own; such a row costs about 17
// bytes, any other about 25. Pure C++.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
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
    // Every this many rows one keeps its Xi, which bounds the work of a read.
    static constexpr long long kKeptEvery = 64;

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

  private:
    struct Block;

    void append(const std::array<CellValue, kValues>& values);
    void replace(long long row, const std::array<CellValue, kValues>& values);

    std::vector<std::unique_ptr<Block>> blocks_;
    long long size_ = 0;
    double lastX_ = 0.0;  // Xi of the last row
};

}  // namespace quorel
