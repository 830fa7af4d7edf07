// freeform.cpp: the free-form text reader, parsing the text in place with std::from_chars.
// Opening, mapping and giving back pages are in text_open.cpp.
#include "fieldio/freeform.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <string>

#include "console/console.h"
#include "console/run_stop.h"

namespace orvex {
namespace {

// Characters that end a value: blank, tab, comma and the line-end characters.
constexpr std::array<bool, 256> separator_table = [] {
    std::array<bool, 256> t{};
    for (const char c : {' ', '\t', ',', '\n', '\r'}) t[static_cast<unsigned char>(c)] = true;
    return t;
}();

inline bool IS_SEPARATOR(char c) { return separator_table[static_cast<unsigned char>(c)]; }

// The furthest a scan starting at p may go: longest_scan bytes on, or the end of the text.
inline const char* SCAN_LIMIT(const text_file& text, const char* p) {
    return static_cast<std::size_t>(text.end - p) > longest_scan ? p + longest_scan : text.end;
}

// True when p, where a value's characters stopped, ends the value: the end of the text or a
// separator. A value that runs into the scan limit does not end there.
inline bool ENDS_VALUE(const text_file& text, const char* p, const char* limit) {
    return p == text.end || (p != limit && IS_SEPARATOR(*p));
}

// The length of the line end that starts at p (a '\n' or '\r'): LF, CR LF or CR CR LF, or a
// CR alone.
inline std::size_t LINE_END_LENGTH(const text_file& text, const char* p) {
    if (*p == '\n') return 1;
    const auto left = static_cast<std::size_t>(text.end - p);
    if (left >= 2 && p[1] == '\n') return 2;
    if (left >= 3 && p[1] == '\r' && p[2] == '\n') return 3;
    return 1;
}

// No number is quoted longer than this; a longer run of characters (a binary file read as
// text) is cut here so that reporting it never scans far.
constexpr std::size_t longest_token = 1024;

// The value that starts at text.pos, up to its separator (at most longest_token characters).
std::string_view TOKEN_AT(const text_file& text) {
    const char* p = text.pos;
    const char* const limit = text.pos + std::min<std::size_t>(longest_token, static_cast<std::size_t>(text.end - text.pos));
    while (p != limit && !IS_SEPARATOR(*p)) ++p;
    return {text.pos, static_cast<std::size_t>(p - text.pos)};
}

// A value as quoted in a message: ASCII control characters shown as '?', the C1 controls as
// \xNN (VISIBLE_TEXT), long values cut.
std::string QUOTED(std::string_view token) {
    constexpr std::size_t shown = 40;
    std::string q = "\"";
    for (std::size_t n = 0; n < token.size() && n < shown; ++n) {
        const unsigned char c = static_cast<unsigned char>(token[n]);
        q += (c < 0x20 || c == 0x7f) ? '?' : static_cast<char>(c);
    }
    if (token.size() > shown) q += "...";
    q += '"';
    return VISIBLE_TEXT(q);
}

[[noreturn]] void FAIL_HERE(const text_file& text, std::int64_t line, const std::string& what) {
    INPUT_FAILURE(text.file.name, line > 0 ? std::to_string(line) : std::string(), what);
}

// A file in a wide encoding is named as such wherever its NUL bytes are met.
void FAIL_IF_WIDE(const text_file& text) {
    const std::string_view wide = WIDE_ENCODING(text);
    if (!wide.empty()) FAIL_HERE(text, 0, "the file is " + std::string(wide) + " text; save it as plain text");
}

// A binary file read as text is named so, with the reader's advice; none of its bytes is quoted.
void FAIL_IF_BINARY(const text_file& text) {
    if (!text.binary_advice.empty() && STARTS_BINARY(text)) FAIL_HERE(text, 0, "the file looks binary, not text: " + text.binary_advice);
}

[[noreturn]] void FAIL_BAD_VALUE(const text_file& text, std::string_view problem) {
    const std::string_view token = TOKEN_AT(text);
    if (token.find('\0') != std::string_view::npos) FAIL_IF_WIDE(text);
    FAIL_IF_BINARY(text);
    FAIL_HERE(text, text.line, std::string(problem) + ", found " + QUOTED(token));
}

[[noreturn]] void FAIL_NUL(const text_file& text) {
    FAIL_IF_WIDE(text);
    FAIL_IF_BINARY(text);
    FAIL_HERE(text, text.line, "holds a NUL byte; the file is not plain text");
}

// A scan that reached longest_scan; before and after are the words around the limit.
[[noreturn]] void FAIL_TOO_LONG(const text_file& text, std::int64_t line, std::string_view before,
                                std::string_view after = "") {
    FAIL_HERE(text, line, std::string(before) + std::string(longest_scan_text) + std::string(after));
}

// The file ended before the value named by what; with count > 0 the message reads
// "<what> <index + 1> of <count>".
[[noreturn]] void FAIL_ENDED(const text_file& text, std::string_view what, std::size_t index, std::size_t count) {
    std::string message = text.begin == text.end ? "file is empty, expected " : "file ends early, expected ";
    message += what;
    if (count > 0) {
        message += ' ';
        message += std::to_string(index + 1);
        message += " of ";
        message += std::to_string(count);
    }
    FAIL_HERE(text, LAST_LINE(text), message);
}

// Moves to the first character of the next value, counting the lines passed; false when the
// file ends first.
inline bool SKIP_SEPARATORS(text_file& text) {
    const char* p = text.pos;
    const char* const limit = SCAN_LIMIT(text, p);
    const std::int64_t first_line = text.line;
    while (p < limit) {
        const char c = *p;
        if (c == ' ' || c == '\t' || c == ',') {
            ++p;
        } else if (c == '\n' || c == '\r') {
            p += LINE_END_LENGTH(text, p);
            ++text.line;
        } else {
            break;
        }
    }
    text.pos = p;
    if (p == text.end) return false;
    if (p >= limit) FAIL_TOO_LONG(text, first_line, "more than ", " of blanks and line ends without a value");
    return true;
}

// The line end (or the end of the text) of the line p stands on; a NUL byte or a line longer
// than the scan limit ends the run.
const char* LINE_END_FROM(const text_file& text, const char* p) {
    const char* const limit = SCAN_LIMIT(text, p);
    while (p != limit && *p != '\n' && *p != '\r' && *p != '\0') ++p;
    if (p == text.end) return p;
    if (p == limit) FAIL_TOO_LONG(text, text.line, "the line is longer than ");
    if (*p == '\0') FAIL_NUL(text);
    return p;
}

// Steps over the line end at p (if the text has not ended there) onto the next line.
void NEXT_LINE_FROM(text_file& text, const char* p) {
    if (p != text.end) {
        p += LINE_END_LENGTH(text, p);
        ++text.line;
    }
    text.pos = p;
    RELEASE_READ_PAGES(text);
}

// A leading '+' is allowed by the text layouts but not by from_chars: step over it, unless
// another sign follows ("+-1" stays an error).
inline const char* AFTER_PLUS(const text_file& text) {
    const char* p = text.pos;
    if (*p == '+' && p + 1 != text.end && p[1] != '-' && p[1] != '+') ++p;
    return p;
}

// For a decimal number that from_chars found outside the double range: true when it is too
// large rather than too small. The decimal exponent of its first significant digit decides;
// out of range it is above 300 or below -300, so its sign is enough.
bool TOO_LARGE(std::string_view n) {
    std::size_t i = 0;
    if (i < n.size() && (n[i] == '-' || n[i] == '+')) ++i;
    std::int64_t whole_digits = 0, leading_fraction_zeros = 0;
    bool significant = false;
    for (; i < n.size() && n[i] >= '0' && n[i] <= '9'; ++i) {
        significant = significant || n[i] != '0';
        if (significant) ++whole_digits;
    }
    if (i < n.size() && n[i] == '.') {
        for (++i; i < n.size() && n[i] >= '0' && n[i] <= '9'; ++i) {
            significant = significant || n[i] != '0';
            if (!significant) ++leading_fraction_zeros;
        }
    }
    std::int64_t exponent = whole_digits > 0 ? whole_digits - 1 : -(leading_fraction_zeros + 1);
    if (i < n.size() && (n[i] == 'e' || n[i] == 'E')) {
        ++i;
        const bool negative = i < n.size() && n[i] == '-';
        if (i < n.size() && (n[i] == '-' || n[i] == '+')) ++i;
        std::int64_t e = 0;
        for (; i < n.size() && n[i] >= '0' && n[i] <= '9'; ++i) e = std::min<std::int64_t>(e * 10 + (n[i] - '0'), 1'000'000'000'000);
        exponent += negative ? -e : e;
    }
    return exponent > 0;
}

// The slow path of NEXT_REAL: exponent letter D or d, a value outside the double range, a
// value longer than from_chars was given, or text that is not a number. first is where the
// number proper starts (after a '+').
double REAL_SLOW_PATH(text_file& text, const char* first) {
    const char* const limit = SCAN_LIMIT(text, text.pos);
    const char* token_end = text.pos;
    while (token_end != limit && !IS_SEPARATOR(*token_end) && *token_end != '\0') ++token_end;
    if (token_end == limit && limit != text.end) FAIL_TOO_LONG(text, text.line, "a value is longer than ");
    if (token_end != text.end && *token_end == '\0') FAIL_BAD_VALUE(text, "expected a number");

    // A copy with the exponent letter made 'E' (kept between calls: no allocation per value).
    static std::string copy;
    std::string_view number(first, static_cast<std::size_t>(token_end - first));
    const std::size_t letter = number.find_first_of("Dd");
    if (letter != std::string_view::npos) {
        copy.assign(number);
        copy[letter] = 'E';
        number = copy;
    }
    double value = 0.0;
    const char* const number_end = number.data() + number.size();
    const auto [ptr, ec] = std::from_chars(number.data(), number_end, value);
    if (ptr != number_end) FAIL_BAD_VALUE(text, "expected a number");
    if (ec == std::errc::result_out_of_range) {
        // from_chars leaves value unset: overflow is refused, underflow is the signed zero.
        if (TOO_LARGE(number)) FAIL_BAD_VALUE(text, "number out of range");
        value = number.front() == '-' ? -0.0 : 0.0;
    } else if (ec != std::errc{}) {
        FAIL_BAD_VALUE(text, "expected a number");
    }
    text.pos = token_end;
    return value;
}

// The real that starts at text.pos (separators already passed, not at the end of the file).
inline double REAL_HERE(text_file& text) {
    const char* const first = AFTER_PLUS(text);
    const char* const limit = SCAN_LIMIT(text, first);
    double value;
    const auto [ptr, ec] = std::from_chars(first, limit, value);
    if (ec == std::errc{} && ENDS_VALUE(text, ptr, limit)) [[likely]] {
        text.pos = ptr;
        return value;
    }
    return REAL_SLOW_PATH(text, first);
}

}  // namespace

bool MORE_VALUES(text_file& text) { return SKIP_SEPARATORS(text); }

double NEXT_REAL(text_file& text, std::string_view what, std::size_t index, std::size_t count) {
    if (!SKIP_SEPARATORS(text)) FAIL_ENDED(text, what, index, count);
    return REAL_HERE(text);
}

std::int32_t NEXT_INTEGER(text_file& text, std::string_view what, std::size_t index, std::size_t count) {
    if (!SKIP_SEPARATORS(text)) FAIL_ENDED(text, what, index, count);
    const char* const first = AFTER_PLUS(text);
    const char* const limit = SCAN_LIMIT(text, first);
    std::int32_t value = 0;
    const auto [ptr, ec] = std::from_chars(first, limit, value, 10);
    const bool whole = ENDS_VALUE(text, ptr, limit);
    if (ec == std::errc{} && whole) {
        text.pos = ptr;
        return value;
    }
    if (ec == std::errc::result_out_of_range && (whole || ptr == limit)) FAIL_BAD_VALUE(text, "integer out of range");
    FAIL_BAD_VALUE(text, "expected an integer");
}

void END_READ(text_file& text) { NEXT_LINE_FROM(text, LINE_END_FROM(text, text.pos)); }

void READ_REALS(text_file& text, std::span<double> values, std::string_view what) {
    const std::size_t count = values.size();
    for (std::size_t n = 0; n < count; ++n) {
        if (!SKIP_SEPARATORS(text)) [[unlikely]] FAIL_ENDED(text, std::string(what) + " value", n, count);
        values[n] = REAL_HERE(text);
        if ((n & 4095) == 4095) RELEASE_READ_PAGES(text);
    }
    END_READ(text);
}

std::string_view READ_LINE(text_file& text, std::string_view what) {
    if (text.pos == text.end) FAIL_ENDED(text, what, 0, 0);
    const char* const start = text.pos;
    const char* const stop = LINE_END_FROM(text, start);
    NEXT_LINE_FROM(text, stop);
    return {start, static_cast<std::size_t>(stop - start)};
}

void SKIP_LINE(text_file& text, std::string_view what) { static_cast<void>(READ_LINE(text, what)); }

std::int64_t LAST_LINE(const text_file& text) {
    // At the end, line counts the line ends passed plus one; a final line end closes the last
    // line rather than starting one.
    if (text.pos == text.begin) return text.begin == text.end ? 0 : text.line;
    return text.pos[-1] == '\n' || text.pos[-1] == '\r' ? text.line - 1 : text.line;
}

}  // namespace orvex
