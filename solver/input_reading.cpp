#include "solver/input_reading.h"

#include "common/numtext.h"

namespace quorel {

BoxRead readBox(const char* box, std::string_view text) {
    const NumberRead r = readNumber(text);
    std::string_view rest = text.substr(r.used);
    while (!rest.empty() && isSkippedChar(rest.back())) rest.remove_suffix(1);
    if (rest.empty()) return {r.value, std::nullopt};
    return {r.value, std::string(box) + " read as " + numberToText(r.value) + "; the rest, \"" +
                         std::string(rest) + "\", was ignored"};
}

}  // namespace quorel
