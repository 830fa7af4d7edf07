// csv_text.cpp: the CSV form's header row, notes and rows; numbers by std::to_chars.
#include "console/csv_text.h"

#include <charconv>
#include <cmath>

namespace orvex {

namespace {

bool TOKEN_CHARACTER(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '.' ||
           c == '+' || c == '-';
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
