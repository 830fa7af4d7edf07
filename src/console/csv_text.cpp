// csv_text.cpp: the CSV form's header row, notes and rows.
//
// Reals: a finite double is m * 2^e with m < 2^53. For 1e-6 <= |v| < 1e16 (every coordinate and
// field value of a real map) e <= 0 and the 17 digits are q = round(m * 10^s / 2^-e) with
// s = 16 - floor(log10 |v|) <= 22, so m * 10^s < 2^127: one 128-bit product and shift give q and
// the exact remainder, rounded half to even as printf rounds, laid out as "%.17g" lays them out.
// That is several times faster than std::to_chars with a precision (a whole map's export is
// millions of numbers); every other value goes through std::to_chars, which writes the same.
#include "console/csv_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace orvex {

namespace {

bool TOKEN_CHARACTER(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '.' ||
           c == '+' || c == '-';
}

__extension__ typedef unsigned __int128 u128;  // GCC and Clang on 64-bit targets

constexpr std::uint64_t ten_16 = 10000000000000000ULL, ten_17 = 100000000000000000ULL;

u128 POWER_OF_TEN(int s) {
    u128 p = 1;
    for (int n = 0; n < s; ++n) p *= 10;
    return p;
}

// 10^0 .. 10^22, exact.
struct power_table {
    u128 value[23];
    power_table() {
        for (int s = 0; s <= 22; ++s) value[s] = POWER_OF_TEN(s);
    }
};
const power_table powers;

// q = m * 10^s / 2^shift truncated, and whether rounding half to even adds 1; false when it
// does not fit the fast path.
bool SCALED(std::uint64_t m, int s, int shift, std::uint64_t& q, bool& up) {
    if (s < 0 || s > 22 || shift < 0 || shift > 126) return false;
    const u128 product = static_cast<u128>(m) * powers.value[s];
    const u128 whole = shift == 0 ? product : product >> shift;
    const u128 rest = shift == 0 ? 0 : product - (whole << shift);
    const u128 half = shift == 0 ? 1 : u128{1} << (shift - 1);
    up = shift != 0 && (rest > half || (rest == half && (whole & 1) != 0));
    if (whole >= (u128{1} << 63)) return false;
    q = static_cast<std::uint64_t>(whole);
    return true;
}

// Two decimal digits of each number 0..99.
constexpr char digit_pairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

bool FAST_17_DIGITS(std::string& out, double v) {
    if (v == 0.0) {
        out += std::signbit(v) ? "-0" : "0";
        return true;
    }
    const double a = std::fabs(v);
    if (!(a >= 1e-6 && a < 1e16)) return false;
    std::uint64_t bits = 0;
    std::memcpy(&bits, &a, sizeof bits);
    const int biased = static_cast<int>(bits >> 52);
    const std::uint64_t m = (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
    const int shift = 1075 - biased;  // a = m * 2^-shift
    // floor(log10 a) from the binary exponent: exact or one too small (corrected below).
    int exponent = static_cast<int>(std::floor((biased - 1023) * 0.30102999566398120));
    std::uint64_t q = 0;
    bool up = false;
    for (int attempt = 0; attempt < 3; ++attempt) {  // the exponent of the exact value
        if (!SCALED(m, 16 - exponent, shift, q, up)) return false;
        if (q >= ten_17) {
            ++exponent;
        } else if (q < ten_16) {
            --exponent;
        } else {
            break;
        }
    }
    if (q < ten_16 || q >= ten_17) return false;
    if (up && ++q == ten_17) {  // 9.99..95 rounds up to the next power of ten
        q = ten_16;
        ++exponent;
    }

    char digits[18];
    digits[0] = static_cast<char>('0' + q / ten_16);
    q %= ten_16;
    for (int n = 15; n >= 1; n -= 2, q /= 100) std::memcpy(digits + n, digit_pairs + 2 * (q % 100), 2);
    int last = 16;  // the last digit kept: trailing zeros are dropped
    while (last > 0 && digits[last] == '0') --last;
    char text[32];
    char* t = text;
    if (v < 0) *t++ = '-';
    if (exponent < -4) {
        *t++ = digits[0];
        if (last > 0) {
            *t++ = '.';
            std::memcpy(t, digits + 1, static_cast<std::size_t>(last));
            t += last;
        }
        std::memcpy(t, "e-", 2);
        std::memcpy(t + 2, digit_pairs + 2 * (-exponent), 2);  // -exponent is 5 or 6 here
        t += 4;
    } else if (exponent >= 0) {
        std::memcpy(t, digits, static_cast<std::size_t>(exponent) + 1);
        t += exponent + 1;
        if (last > exponent) {
            *t++ = '.';
            std::memcpy(t, digits + exponent + 1, static_cast<std::size_t>(last - exponent));
            t += last - exponent;
        }
    } else {
        std::memcpy(t, "0.000", static_cast<std::size_t>(1 - exponent));  // "0." and -exponent - 1 zeros
        t += 1 - exponent;
        std::memcpy(t, digits, static_cast<std::size_t>(last) + 1);
        t += last + 1;
    }
    out.append(text, t);
    return true;
}

void APPEND_INTEGER(std::string& out, std::int32_t v) {
    char digits[16];
    const auto written = std::to_chars(digits, digits + sizeof digits, v);
    out.append(digits, written.ptr);
}

}  // namespace

void CSV_REAL(std::string& out, double v) {
    // to_chars in general form with precision 17 writes what "%.17g" writes, without a locale.
    if (std::isnan(v)) {
        out += "nan";
        return;
    }
    if (FAST_17_DIGITS(out, v)) return;
    char digits[32];
    const auto written = std::to_chars(digits, digits + sizeof digits, v, std::chars_format::general, 17);
    out.append(digits, written.ptr);
}

void CSV_TOKEN(std::string& out, std::string_view token) {
    if (token.empty()) {
        out += '_';
        return;
    }
    for (const char c : token) out += TOKEN_CHARACTER(c) ? c : '_';
}

void CSV_HEADER(std::string& out, std::initializer_list<std::string_view> names) {
    bool first = true;
    for (const std::string_view name : names) {
        if (!first) out += ',';
        first = false;
        CSV_TOKEN(out, name);
    }
    out += '\n';
}

void CSV_NOTE(std::string& out, std::string_view text) {
    out += "# ";
    out += VISIBLE_TEXT(text);
    out += '\n';
}

void CSV_ROW(std::string& out, std::initializer_list<listed_value> fields) {
    bool first = true;
    for (const listed_value& field : fields) {
        if (!first) out += ',';
        first = false;
        switch (field.kind) {
            case listed_value::form::integer: APPEND_INTEGER(out, field.integer); break;
            case listed_value::form::real: CSV_REAL(out, field.real); break;
            case listed_value::form::text: CSV_TOKEN(out, field.text); break;
        }
    }
    out += '\n';
}

}  // namespace orvex
