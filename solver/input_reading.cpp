#include "solver/input_reading.h"

#include "common/numtext.h"

namespace quorel {

BoxRead readBox(const char* box, std::string_view text) {
    const NumberRead r = readNumber(text);
    const std::string_view rest = restAfter(text, r);
    if (rest.empty()) return {r.value, std::nullopt};
    return {r.value, std::string(box) + " read as " + numberToText(r.value) + "; the rest, \"" +
                         std::string(rest) + "\", was ignored"};
}

}  // namespace quorel
