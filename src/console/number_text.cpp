// number_text.cpp: numbers into text through std::to_chars; see number_text.h.
#include "console/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace orvex {

namespace {

// The words for what is not a finite number, or "" for a finite one.
const char* NOT_FINITE(double v) {
    if (std::isnan(v)) return "nan";
    if (std::isinf(v)) return v > 0 ? "inf" : "-inf";
    return "";
}

std::string CHARS(double v, std::chars_format format, int precision) {
    if (const char* word = NOT_FINITE(v); *word != '\0') return word;
    char text[400];  // "%.40f" of 1e308 needs 350
    const auto r = std::to_chars(text, text + sizeof text, v, format, std::clamp(precision, 0, 40));
    return std::string(text, r.ec == std::errc{} ? r.ptr : text);
}

}  // namespace

std::string NUMBER_G(double v, int digits) {
    // "%.0g" writes one significant digit, as std::to_chars does with precision 0.
    return CHARS(v, std::chars_format::general, digits);
}

std::string NUMBER_E(double v, int decimals) {
    std::string text = CHARS(v, std::chars_format::scientific, decimals);
    for (char& c : text)
        if (c == 'e') c = 'E';
    return std::isfinite(v) ? text : NOT_FINITE(v);
}

std::string NUMBER_F(double v, int decimals) { return CHARS(v, std::chars_format::fixed, decimals); }

std::string NUMBER_I(std::int64_t n, int width) {
    char text[24];
    const auto r = std::to_chars(text, text + sizeof text, n);
    std::string out(text, r.ptr);
    if (width > static_cast<int>(out.size())) out.insert(0, static_cast<std::size_t>(width) - out.size(), ' ');
    return out;
}

std::string NUMBER_X(std::uint64_t n, int width) {
    char text[24];
    const auto r = std::to_chars(text, text + sizeof text, n, 16);
    std::string out(text, r.ptr);
    for (char& c : out) c = static_cast<char>(c >= 'a' && c <= 'f' ? c - 'a' + 'A' : c);
    if (width > static_cast<int>(out.size())) out.insert(0, static_cast<std::size_t>(width) - out.size(), '0');
    return out;
}

}  // namespace orvex
