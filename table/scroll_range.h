// Scroll bar figures of the iteration table. The bar counts in twips (its
// position is the hidden height above the viewport) while the content's
// overhang fits the bar's int range; beyond that one bar step stands for a few
// twips, so the newest row stays reachable however many rows there are.
#pragma once

#include <algorithm>
#include <climits>

namespace quorel {

struct ScrollRange {
    long long maximumTwips = 0;  // content height - viewport height
    long long unit = 1;          // twips per bar step

    static ScrollRange forMaximum(long long maximumTwips) {
        ScrollRange r;
        r.maximumTwips = std::max(0LL, maximumTwips);
        if (r.maximumTwips > INT_MAX) r.unit = (r.maximumTwips + INT_MAX - 1) / INT_MAX;
        return r;
    }

    int barMaximum() const { return static_cast<int>((maximumTwips + unit - 1) / unit); }
    // The bar steps that move the content by `twips` (at least one step).
    int steps(long long twips) const { return static_cast<int>(std::max(1LL, twips / unit)); }
    long long toTwips(int barPosition) const {
        return std::min(static_cast<long long>(barPosition) * unit, maximumTwips);
    }
};

}  // namespace quorel
