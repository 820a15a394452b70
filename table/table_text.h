// The rows as text for the clipboard: a header line, then one line per row,
// tab-separated, each value with 17 significant digits (it reads back as the
// same double) or the name of the failure that kept it from being computed.
#pragma once

#include <string>

#include "run/row_store.h"

namespace quorel {

inline constexpr const char* kTableTextHeader = "i\tXi\tf(Xi)\tf'(Xi)";

std::string rowsAsText(const RowStore& rows);

}  // namespace quorel
