#include "engine/operators.h"

#include <vector>

namespace quorel {

std::string functionNames(std::string_view separator, std::string_view last, OperatorTable table) {
    std::vector<std::string_view> names;
    for (const OperatorRow& row : table) {
        if (row.operation == Operation::Function) names.push_back(row.name);
    }
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) text += i + 1 == names.size() ? last : separator;
        text += names[i];
    }
    return text;
}

}  // namespace quorel
