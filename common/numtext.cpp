#include "common/numtext.h"

#include <locale.h>
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "common/failure.h"

namespace quorel {
namespace {

// strtod in the "C" locale: Qt sets the user's locale at start-up, and the
// decimal point must stay "." whatever it is.
locale_t cLocale() {
    static locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return loc;
}

}  // namespace

double textToNumber(std::string_view text) {
    return readNumber(text).value;
}

std::string_view restAfter(std::string_view text, const NumberRead& read) {
    std::string_view rest = text.substr(read.used);
    while (!rest.empty() && isSkippedChar(rest.back())) rest.remove_suffix(1);
    return rest;
}

NumberRead readNumber(std::string_view text) {
    std::string num;
    std::size_t i = 0;
    const std::size_t n = text.size();
    auto skip = [&] {
        while (i < n && isSkippedChar(text[i])) ++i;
    };
    skip();
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') num += '-';
        ++i;
    }
    bool anyDigit = false;
    bool seenPoint = false;
    for (;; ++i) {
        skip();
        if (i >= n) break;
        const char c = text[i];
        if (isDecimalDigit(c)) {
            num += c;
            anyDigit = true;
        } else if (c == '.' && !seenPoint) {
            num += c;
            seenPoint = true;
        } else {
            break;
        }
    }
    if (!anyDigit) return {0.0, 0};
    skip();
    if (i < n && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
        std::string exp = "e";
        std::size_t j = i + 1;
        while (j < n && isSkippedChar(text[j])) ++j;
        if (j < n && (text[j] == '+' || text[j] == '-')) exp += text[j++];
        bool expDigit = false;
        for (;; ++j) {
            while (j < n && isSkippedChar(text[j])) ++j;
            if (j >= n || !isDecimalDigit(text[j])) break;
            exp += text[j];
            expDigit = true;
        }
        if (expDigit) {
            num += exp;
            i = j;
        }
    }
    errno = 0;
    const double v = strtod_l(num.c_str(), nullptr, cLocale());
    if (errno == ERANGE && std::isinf(v)) throw Failure(kErrOverflow);
    return {v, i};
}

std::string fullNumberText(double v) {
    if (v == 0.0) return "0";
    char buf[40];
    const auto end = std::to_chars(buf, buf + sizeof buf, v).ptr;
    std::string s(buf, end);
    for (char& c : s)
        if (c == 'e') c = 'E';
    return s;
}

std::string numberToText(double v) {
    if (v == 0.0) return "0";
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 15);
    if (ec != std::errc()) return "0";
    std::string s(buf, end);
    for (char& c : s) {
        if (c == 'e') c = 'E';
    }
    return s;
}

std::string numberToText(double v, int digits) {
    if (v == 0.0 || !std::isfinite(v)) return numberToText(v);
    digits = std::clamp(digits, 1, 15);
    char buf[64];
    auto [end, ec] =
        std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, digits - 1);
    if (ec != std::errc()) return numberToText(v);
    // "-d.ddde+XX": sign, the digits without trailing zeros, the exponent.
    const std::string s(buf, end);
    const std::size_t e = s.find('e');
    const bool negative = s[0] == '-';
    std::string mantissa;
    for (std::size_t i = negative ? 1 : 0; i < e; ++i) {
        if (s[i] != '.') mantissa += s[i];
    }
    while (mantissa.size() > 1 && mantissa.back() == '0') mantissa.pop_back();
    const int exponent = std::atoi(s.c_str() + e + 1);
    std::string out = negative ? "-" : "";
    if (exponent < -4 || exponent >= 15) {
        out += mantissa[0];
        if (mantissa.size() > 1) out.append(".").append(mantissa, 1);
        const std::string power = std::to_string(std::abs(exponent));
        out.append(exponent < 0 ? "E-" : "E+").append(power.size() < 2 ? "0" : "").append(power);
    } else if (exponent < 0) {
        out.append("0.").append(-exponent - 1, '0').append(mantissa);
    } else if (mantissa.size() > static_cast<std::size_t>(exponent) + 1) {
        out.append(mantissa, 0, exponent + 1).append(".").append(mantissa, exponent + 1);
    } else {
        out.append(mantissa).append(exponent + 1 - mantissa.size(), '0');
    }
    return out;
}

double roundHalfEven(double v) {
    return std::nearbyint(v);
}

double roundHalfEven(double v, int decimals) {
    if (!std::isfinite(v) || decimals < 0) return v;
    // Fixed notation rounds the exact binary value, ties to even; reading the
    // digits back gives the nearest double to the rounded decimal.
    char buf[400];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
    if (ec != std::errc()) return v;
    double r = v;
    std::from_chars(buf, end, r);
    return r == 0.0 ? 0.0 : r;
}

double floorWhole(double v) {
    return std::floor(v);
}

long long wholeDiv(long long a, long long b) {
    if (b == 0) throw Failure(kErrDivZero);
    return a / b;
}

std::int16_t toInt16(double v) {
    const double r = std::nearbyint(v);
    if (!(r >= -32768.0 && r <= 32767.0)) throw Failure(kErrOverflow);
    return static_cast<std::int16_t>(r);
}

}  // namespace quorel
