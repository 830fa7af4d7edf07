// axis_numbers.cpp: the 8-character axis number texts, written by std::to_chars.
#include "surface/axis_numbers.h"

#include <charconv>
#include <cmath>
#include <string_view>

namespace orvex {

namespace {

using axis_text = std::array<char, 8>;

constexpr axis_text asterisks = {'*', '*', '*', '*', '*', '*', '*', '*'};

// text right-aligned in 8 characters; asterisks when it is longer.
axis_text FIT_8(std::string_view text) {
    if (text.size() > 8) return asterisks;
    axis_text out;
    out.fill(' ');
    text.copy(out.data() + (8 - text.size()), text.size());
    return out;
}

// text without its minus sign when nothing but zeros and the point follow it.
std::string_view DROP_NEGATIVE_ZERO(std::string_view text) {
    if (text.size() >= 2 && text[0] == '-' && text.find_first_not_of("0.", 1) == std::string_view::npos) {
        text.remove_prefix(1);
    }
    return text;
}

// Fixed point with decimals digits after the point, the point written even without digits.
axis_text FIXED_8(double v, int decimals) {
    if (!std::isfinite(v)) return asterisks;
    char digits[400];  // the widest finite double in fixed point with 3 decimals is 313
    auto [end, ec] = std::to_chars(digits, digits + sizeof digits - 1, v, std::chars_format::fixed, decimals);
    if (ec != std::errc{}) return asterisks;
    if (decimals == 0) *end++ = '.';
    return FIT_8(DROP_NEGATIVE_ZERO(std::string_view(digits, static_cast<std::size_t>(end - digits))));
}

}  // namespace

axis_text FORMAT_AXIS_INTEGER(std::int64_t v) {
    char digits[24];
    auto [end, ec] = std::to_chars(digits, digits + sizeof digits, v);
    if (ec != std::errc{}) return asterisks;
    return FIT_8(std::string_view(digits, static_cast<std::size_t>(end - digits)));
}

axis_text FORMAT_AXIS_POINT(double v) { return FIXED_8(v, 0); }

axis_text FORMAT_AXIS_FIXED3(double v) { return FIXED_8(v, 3); }

}  // namespace orvex
