#include "table/table_text.h"

#include <charconv>

#include "common/failure.h"

namespace quorel {

std::string rowsAsText(const RowStore& rows) {
    std::string text = kTableTextHeader;
    text += '\n';
    char buf[40];
    for (long long row = 0; row < rows.size(); ++row) {
        text += std::to_string(row);
        for (int v = 0; v < RowStore::kValues; ++v) {
            text += '\t';
            const CellValue cell = rows.at(row, v);
            if (cell.failure != 0) {
                text += failureInfo(cell.failure).cell;
                continue;
            }
            const auto end =
                std::to_chars(buf, buf + sizeof buf, cell.value, std::chars_format::general, 17);
            text.append(buf, end.ptr);
        }
        text += '\n';
    }
    return text;
}

}  // namespace quorel
