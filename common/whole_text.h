// The longest text a box takes. A QLineEdit cuts a longer text than 32767
// characters without a word; the boxes take any text whole instead.
#pragma once

#include <limits>

namespace quorel {

inline constexpr int kWholeText = std::numeric_limits<int>::max();

}  // namespace quorel
