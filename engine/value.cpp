#include "engine/value.h"

#include "common/numtext.h"

namespace quorel {

std::string valueText(const Value& v) {
    if (const auto* s = std::get_if<std::string>(&v)) return *s;
    if (const auto* d = std::get_if<double>(&v)) return numberToText(*d);
    return {};
}

bool valueIsEmpty(const Value& v) {
    if (std::holds_alternative<std::monostate>(v)) return true;
    const auto* s = std::get_if<std::string>(&v);
    return s != nullptr && s->empty();
}

}  // namespace quorel
