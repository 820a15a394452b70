#include "engine/operators.h"

#include <vector>

namespace quorel {

std::string listFunctions(OperatorTable table, std::string_view separator, std::string_view last,
                          const std::function<std::string(const OperatorRow&)>& item) {
    std::vector<std::string> items;
    for (const OperatorRow& row : table) {
        if (row.operation == Operation::Function) items.push_back(item(row));
    }
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) text += i + 1 == items.size() ? last : separator;
        text += items[i];
    }
    return text;
}

std::string functionNames(std::string_view separator, std::string_view last, OperatorTable table) {
    return listFunctions(table, separator, last,
                         [](const OperatorRow& row) { return std::string(row.name); });
}

}  // namespace quorel
