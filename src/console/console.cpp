// console.cpp: the console listing formatter and the console log.
#include "console/console.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace orvex {
namespace {

// The log holds the whole listing of a run (about 1.5 KB) many times over.
constexpr std::size_t log_capacity = 64 * 1024;
constexpr std::string_view log_overflow_mark = "...\n";
std::array<char, log_capacity> console_log_text{};
std::size_t console_log_length = 0;
bool console_log_full = false;
bool console_quiet = false;

void KEEP_IN_LOG(std::string_view line) {
    if (console_log_full) return;
    if (console_log_length + line.size() + log_overflow_mark.size() > log_capacity) {
        std::memcpy(console_log_text.data() + console_log_length, log_overflow_mark.data(),
                    log_overflow_mark.size());
        console_log_length += log_overflow_mark.size();
        console_log_full = true;
        return;
    }
    std::memcpy(console_log_text.data() + console_log_length, line.data(), line.size());
    console_log_length += line.size();
}

}  // namespace

std::string FORMAT_LISTED_INTEGER(std::int32_t v) {
    char text[16];
    std::snprintf(text, sizeof text, "%12d", static_cast<int>(v));
    return text;
}

std::string FORMAT_LISTED_REAL(double v) {
    char body[64];
    if (std::isnan(v)) {
        std::snprintf(body, sizeof body, "NaN");
    } else if (std::isinf(v)) {
        std::snprintf(body, sizeof body, "%s", v < 0 ? "-Infinity" : "Infinity");
    } else if (v == 0.0) {
        std::snprintf(body, sizeof body, "0.00000000000000");
    } else {
        // Round to 15 significant digits first: the decimal exponent after rounding decides
        // the form, so 0.0999999999999999999 (which rounds to 0.1) is listed in fixed form.
        char mantissa[40];
        std::snprintf(mantissa, sizeof mantissa, "%.14E", v);
        const char* e = std::strchr(mantissa, 'E');
        const int exponent = std::atoi(e + 1);
        if (exponent >= -1 && exponent <= 14) {
            const int decimals = 14 - exponent;
            if (decimals > 0) {
                std::snprintf(body, sizeof body, "%.*f", decimals, v);
            } else {
                std::snprintf(body, sizeof body, "%.0f.", v);
            }
        } else {
            const int digits = static_cast<int>(e - mantissa);
            std::snprintf(body, sizeof body, "%.*sE%c%03d", digits, mantissa,
                          exponent < 0 ? '-' : '+', std::abs(exponent));
        }
    }
    char text[64];
    std::snprintf(text, sizeof text, "%24s", body);
    return text;
}

void CONSOLE_WRITE(std::string_view label, std::initializer_list<listed_value> values) {
    std::string line(label);
    for (const listed_value& value : values) {
        switch (value.kind) {
            case listed_value::form::integer: line += FORMAT_LISTED_INTEGER(value.integer); break;
            case listed_value::form::real: line += FORMAT_LISTED_REAL(value.real); break;
            case listed_value::form::text: line += value.text; break;
        }
    }
    line += '\n';
    KEEP_IN_LOG(line);
    if (!console_quiet) {
        std::fwrite(line.data(), 1, line.size(), stdout);
        std::fflush(stdout);
    }
}

std::string_view CONSOLE_LOG() { return {console_log_text.data(), console_log_length}; }

void CLEAR_CONSOLE_LOG() {
    console_log_length = 0;
    console_log_full = false;
}

void SET_CONSOLE_QUIET(bool quiet) { console_quiet = quiet; }

// Control characters (a stray carriage return, an escape sequence) are shown as \xNN so that
// one line stays one line and cannot drive the terminal.
std::string VISIBLE_TEXT(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace orvex
