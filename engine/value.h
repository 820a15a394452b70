// A value held by the engine's containers: nothing, a text or a double.
#pragma once

#include <string>
#include <variant>

namespace quorel {

using Value = std::variant<std::monostate, std::string, double>;

// The value as text: nothing is "", a double in the general number form.
std::string valueText(const Value& v);

// True when the value is nothing or the empty text.
bool valueIsEmpty(const Value& v);

}  // namespace quorel
