// console.cpp: the console listing formatter and the console log.
#include "console/console.h"

#include <array>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace orvex {
namespace {

// The log holds the whole listing of a run (about 1.5 KB) many times over.
constexpr std::size_t log_capacity = 64 * 1024;
constexpr std::string_view log_overflow_mark = "...\n";
std::array<char, log_capacity> console_log_text{};
std::size_t console_log_length = 0;
bool console_log_full = false;
bool console_quiet = false;
int console_output_error = 0;

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
            case listed_value::form::text: line += VISIBLE_TEXT(value.text); break;
        }
    }
    line += '\n';
    KEEP_IN_LOG(line);
    if (!console_quiet && console_output_error == 0) {
        errno = 0;
        if (std::fwrite(line.data(), 1, line.size(), stdout) != line.size() || std::fflush(stdout) != 0)
            console_output_error = errno != 0 ? errno : EIO;
    }
}

int CONSOLE_OUTPUT_ERROR() { return console_output_error; }

void HOLD_STANDARD_STREAMS() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        // The lowest free descriptor is fd itself: the ones below it are open by now.
        const int held = ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
        if (held >= 0 && held != fd) ::close(held);
        if (fd == 1) console_output_error = EBADF;
    }
}

std::string_view CONSOLE_LOG() { return {console_log_text.data(), console_log_length}; }

void CLEAR_CONSOLE_LOG() {
    console_log_length = 0;
    console_log_full = false;
}

bool SET_CONSOLE_QUIET(bool quiet) {
    const bool was = console_quiet;
    console_quiet = quiet;
    return was;
}

void TRUNCATE_CONSOLE_LOG(std::size_t length) {
    if (length >= console_log_length) return;
    console_log_length = length;
    console_log_full = false;
}

namespace {

// The length of the UTF-8 character that starts at text[at] (a byte of 0x80 or above), or 0
// when the bytes there are no UTF-8 character.
std::size_t UTF8_LENGTH(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                             : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
    if (length == 0 || at + length > text.size()) return 0;
    for (std::size_t n = 1; n < length; ++n) {
        const auto next = static_cast<unsigned char>(text[at + n]);
        if (next < 0x80 || next > 0xBF) return 0;
    }
    return length;
}

void APPEND_ESCAPED(std::string& out, std::string_view bytes) {
    for (const char c : bytes) {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(c));
        out += escaped;
    }
}

}  // namespace

// Control characters (a stray carriage return, an escape sequence) are shown as \xNN so that
// one line stays one line and cannot drive the terminal.
std::string VISIBLE_TEXT(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte < 0x80) {
            if (byte < 0x20 || byte == 0x7F) APPEND_ESCAPED(out, text.substr(at, 1));
            else out += text[at];
            ++at;
            continue;
        }
        const std::size_t length = UTF8_LENGTH(text, at);
        const bool c1_control = length == 2 && byte == 0xC2 && static_cast<unsigned char>(text[at + 1]) <= 0x9F;
        if (length == 0) {
            if (byte <= 0x9F) APPEND_ESCAPED(out, text.substr(at, 1));
            else out += text[at];
            ++at;
        } else {
            if (c1_control) APPEND_ESCAPED(out, text.substr(at, length));
            else out.append(text.substr(at, length));
            at += length;
        }
    }
    return out;
}

}  // namespace orvex
