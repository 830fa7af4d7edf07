// listed_forms.cpp: the forms of the listing's values (integers, doubles, texts). It keeps no
// record, so code that only formats values links it without the console log.
#include <cmath>
#include <cstdlib>
#include <string>
#include <string_view>

#include "console/console.h"
#include "console/number_text.h"

namespace orvex {

namespace {

// text right-aligned in width columns.
std::string RIGHT_ALIGNED(std::string text, std::size_t width) {
    if (text.size() < width) text.insert(0, width - text.size(), ' ');
    return text;
}

}  // namespace

std::string FORMAT_LISTED_INTEGER(std::int32_t v) { return NUMBER_I(v, 12); }

std::string FORMAT_LISTED_REAL(double v) {
    std::string body;
    if (std::isnan(v)) {
        body = "NaN";
    } else if (std::isinf(v)) {
        body = v < 0 ? "-Infinity" : "Infinity";
    } else if (v == 0.0) {
        body = "0.00000000000000";
    } else {
        // Round to 15 significant digits first: the decimal exponent after rounding decides
        // the form, so 0.0999999999999999999 (which rounds to 0.1) is listed in fixed form.
        const std::string mantissa = NUMBER_E(v, 14);
        const std::size_t e = mantissa.find('E');
        const int exponent = std::atoi(mantissa.c_str() + e + 1);
        if (exponent >= -1 && exponent <= 14) {
            const int decimals = 14 - exponent;
            body = decimals > 0 ? NUMBER_F(v, decimals) : NUMBER_F(v, 0) + ".";
        } else {
            // Three exponent digits: E-002, E+015.
            std::string digits = NUMBER_I(std::abs(exponent));
            if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
            body = mantissa.substr(0, e) + (exponent < 0 ? "E-" : "E+") + digits;
        }
    }
    return RIGHT_ALIGNED(body, 24);
}

namespace {

// The length of the well-formed UTF-8 character that starts at text[at] (a byte of 0x80 or
// above), or 0 when the bytes there are none: a stray continuation byte, a cut character, an
// overlong form, a surrogate or a value past U+10FFFF.
std::size_t UTF8_LENGTH(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                             : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
    if (length == 0 || at + length > text.size()) return 0;
    // The second byte's range narrows for the leads that could start a form outside Unicode.
    const auto second = static_cast<unsigned char>(text[at + 1]);
    const unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
    const unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
    if (second < low || second > high) return 0;
    for (std::size_t n = 2; n < length; ++n) {
        const auto next = static_cast<unsigned char>(text[at + n]);
        if (next < 0x80 || next > 0xBF) return 0;
    }
    return length;
}

void APPEND_ESCAPED(std::string& out, std::string_view bytes) {
    for (const char c : bytes) out += "\\x" + NUMBER_X(static_cast<unsigned char>(c), 2);
}

// text with every byte that is no UTF-8 character as \xNN and, when controls is set, every
// control character too.
std::string ESCAPED(std::string_view text, bool controls) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte < 0x80) {
            if (controls && (byte < 0x20 || byte == 0x7F)) APPEND_ESCAPED(out, text.substr(at, 1));
            else out += text[at];
            ++at;
            continue;
        }
        const std::size_t length = UTF8_LENGTH(text, at);
        const bool c1_control = length == 2 && byte == 0xC2 && static_cast<unsigned char>(text[at + 1]) <= 0x9F;
        if (length == 0) {
            APPEND_ESCAPED(out, text.substr(at, 1));
            ++at;
        } else {
            if (controls && c1_control) APPEND_ESCAPED(out, text.substr(at, length));
            else out.append(text.substr(at, length));
            at += length;
        }
    }
    return out;
}

}  // namespace

// Control characters (a stray carriage return, an escape sequence) are shown as \xNN so that
// one line stays one line and cannot drive the terminal; bytes that are not UTF-8 (a Latin-1
// name) too, so that what is written is always valid UTF-8.
std::string VISIBLE_TEXT(std::string_view text) { return ESCAPED(text, true); }

std::string UTF8_TEXT(std::string_view text) { return ESCAPED(text, false); }

}  // namespace orvex
