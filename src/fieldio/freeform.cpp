// freeform.cpp: the free-form text reader, parsing a mapped file in place with std::from_chars.
#include "fieldio/freeform.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <csignal>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

#include "console/run_stop.h"

namespace orvex {
namespace {

// The text of an empty file: a valid, empty range that is never mapped.
constexpr char empty_text[1] = {'\0'};

// Characters that end a value: blank, tab, comma, line feed, carriage return. A carriage
// return ends a value only before a line end; IS_SEPARATOR_AT settles that.
constexpr std::array<bool, 256> separator_table = [] {
    std::array<bool, 256> t{};
    t[static_cast<unsigned char>(' ')] = true;
    t[static_cast<unsigned char>('\t')] = true;
    t[static_cast<unsigned char>(',')] = true;
    t[static_cast<unsigned char>('\n')] = true;
    t[static_cast<unsigned char>('\r')] = true;
    return t;
}();

// True when p (inside the text) ends a value.
inline bool IS_SEPARATOR_AT(const text_file& text, const char* p) {
    if (p == text.end) return true;
    if (!separator_table[static_cast<unsigned char>(*p)]) return false;
    return *p != '\r' || p + 1 == text.end || p[1] == '\n';
}

// Moves to the first character of the next value, counting the lines passed; false when the
// file ends first.
inline bool SKIP_SEPARATORS(text_file& text) {
    const char* p = text.pos;
    const char* const end = text.end;
    while (p != end) {
        const char c = *p;
        if (c == ' ' || c == '\t' || c == ',') {
            ++p;
        } else if (c == '\n') {
            ++p;
            ++text.line;
        } else if (c == '\r' && (p + 1 == end || p[1] == '\n')) {
            ++p;  // the line feed after it is counted on the next turn
        } else {
            break;
        }
    }
    text.pos = p;
    return p != end;
}

// No number is this long; a longer run of characters (a binary file read as text) is cut here
// so that reporting it never scans the rest of a large file.
constexpr std::size_t longest_token = 1024;

// The value that starts at text.pos, up to its separator (at most longest_token characters).
std::string_view TOKEN_AT(const text_file& text) {
    const char* p = text.pos;
    const char* const limit = text.pos + std::min<std::size_t>(longest_token, static_cast<std::size_t>(text.end - text.pos));
    while (p != limit && !IS_SEPARATOR_AT(text, p)) ++p;
    return {text.pos, static_cast<std::size_t>(p - text.pos)};
}

// A value as quoted in a message: control characters shown as '?', long values cut.
std::string QUOTED(std::string_view token) {
    constexpr std::size_t shown = 40;
    std::string q = "\"";
    for (std::size_t n = 0; n < token.size() && n < shown; ++n) {
        const unsigned char c = static_cast<unsigned char>(token[n]);
        q += (c < 0x20 || c == 0x7f) ? '?' : static_cast<char>(c);
    }
    if (token.size() > shown) q += "...";
    q += '"';
    return q;
}

[[noreturn]] void FAIL_HERE(const text_file& text, std::int32_t line, const std::string& what) {
    INPUT_FAILURE(text.file.name, line > 0 ? std::to_string(line) : std::string(), what);
}

[[noreturn]] void FAIL_BAD_VALUE(const text_file& text, std::string_view problem) {
    FAIL_HERE(text, text.line, std::string(problem) + ", found " + QUOTED(TOKEN_AT(text)));
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

// A leading '+' is allowed by the text layouts but not by from_chars: step over it, unless
// another sign follows ("+-1" stays an error).
inline const char* AFTER_PLUS(const text_file& text) {
    const char* p = text.pos;
    if (*p == '+' && p + 1 != text.end && p[1] != '-' && p[1] != '+') ++p;
    return p;
}

// The slow path of NEXT_REAL: exponent letter D or d, a value outside the double range, or
// text that is not a number. first is where the number proper starts (after a '+').
double REAL_SLOW_PATH(text_file& text, const char* first) {
    const std::string_view token = TOKEN_AT(text);
    const char* const token_end = text.pos + token.size();
    // A copy with the exponent letter made 'E', NUL-terminated for strtod.
    std::array<char, 512> copy{};
    const std::size_t length = static_cast<std::size_t>(token_end - first);
    if (length >= copy.size()) FAIL_BAD_VALUE(text, "expected a number");
    std::memcpy(copy.data(), first, length);
    char* const copy_end = copy.data() + length;

    double value = 0.0;
    std::from_chars_result result = std::from_chars(copy.data(), copy_end, value);
    if (result.ec == std::errc{} && result.ptr != copy_end && (*result.ptr == 'D' || *result.ptr == 'd')) {
        copy[static_cast<std::size_t>(result.ptr - copy.data())] = 'E';
        result = std::from_chars(copy.data(), copy_end, value);
    }
    if (result.ptr != copy_end) FAIL_BAD_VALUE(text, "expected a number");
    if (result.ec == std::errc::result_out_of_range) {
        // from_chars leaves value unset: tell overflow (refused) from underflow (kept as the
        // nearest double, 0 or subnormal). copy holds a plain decimal number here.
        errno = 0;
        value = std::strtod(copy.data(), nullptr);
        if (std::isinf(value)) FAIL_BAD_VALUE(text, "number out of range");
    } else if (result.ec != std::errc{}) {
        FAIL_BAD_VALUE(text, "expected a number");
    }
    text.pos = token_end;
    return value;
}

// A mapped file that another program cuts short while it is read (an export rewriting the
// map, say) makes the next read of a vanished page raise SIGBUS. While a mapping is open, that
// signal ends the run with one line naming the file instead of a crash. The handler only
// writes and exits, both safe in a signal handler.
std::array<char, 600> sigbus_message{};
std::size_t sigbus_message_length = 0;
struct sigaction sigbus_previous {};
bool sigbus_guarded = false;

extern "C" void ON_SIGBUS(int) {
    const ssize_t ignored = ::write(2, sigbus_message.data(), sigbus_message_length);
    (void)ignored;
    ::_exit(1);
}

void GUARD_MAPPING(std::string_view name) {
    std::string message = "plot_orvex_3dfields: ";
    message += name.substr(0, 400);
    message += ": the file was cut short while it was being read\n";
    sigbus_message_length = std::min(message.size(), sigbus_message.size());
    std::memcpy(sigbus_message.data(), message.data(), sigbus_message_length);
    struct sigaction action {};
    action.sa_handler = ON_SIGBUS;
    sigemptyset(&action.sa_mask);
    sigbus_guarded = ::sigaction(SIGBUS, &action, &sigbus_previous) == 0;
}

void UNGUARD_MAPPING() {
    if (sigbus_guarded) ::sigaction(SIGBUS, &sigbus_previous, nullptr);
    sigbus_guarded = false;
}

}  // namespace

text_file::~text_file() { CLOSE_TEXT(*this); }

void OPEN_TEXT(text_file& text, std::string_view path) {
    CLOSE_TEXT(text);
    OPEN_INPUT_FILE(text.file, path);
    text.line = 1;
    if (text.file.size == 0) {
        text.begin = text.end = text.pos = empty_text;
    } else {
        const auto length = static_cast<std::size_t>(text.file.size);
        void* base = ::mmap(nullptr, length, PROT_READ, MAP_PRIVATE, text.file.fd, 0);
        if (base == MAP_FAILED) {
            const int error = errno;
            INPUT_FAILURE(text.file.name, "", std::string("cannot read: ") + std::strerror(error));
        }
        ::madvise(base, length, MADV_SEQUENTIAL);
        GUARD_MAPPING(text.file.name);
        text.map_base = base;
        text.map_length = length;
        text.begin = text.pos = static_cast<const char*>(base);
        text.end = text.begin + length;
    }
    // The mapping stays valid without the descriptor.
    CLOSE_INPUT_FILE(text.file);
}

void CLOSE_TEXT(text_file& text) {
    if (text.map_base != nullptr) {
        ::munmap(text.map_base, text.map_length);
        UNGUARD_MAPPING();
    }
    text.map_base = nullptr;
    text.map_length = 0;
    text.begin = text.end = text.pos = nullptr;
    CLOSE_INPUT_FILE(text.file);
}

namespace {

// The real that starts at text.pos (separators already passed, not at the end of the file).
inline double REAL_HERE(text_file& text) {
    const char* const first = AFTER_PLUS(text);
    double value;
    const auto [ptr, ec] = std::from_chars(first, text.end, value);
    if (ec == std::errc{} && IS_SEPARATOR_AT(text, ptr)) [[likely]] {
        text.pos = ptr;
        return value;
    }
    return REAL_SLOW_PATH(text, first);
}

}  // namespace

double NEXT_REAL(text_file& text, std::string_view what, std::size_t index, std::size_t count) {
    if (!SKIP_SEPARATORS(text)) FAIL_ENDED(text, what, index, count);
    return REAL_HERE(text);
}

std::int32_t NEXT_INTEGER(text_file& text, std::string_view what, std::size_t index, std::size_t count) {
    if (!SKIP_SEPARATORS(text)) FAIL_ENDED(text, what, index, count);
    const char* const first = AFTER_PLUS(text);
    std::int32_t value = 0;
    const auto [ptr, ec] = std::from_chars(first, text.end, value, 10);
    const bool whole = IS_SEPARATOR_AT(text, ptr);
    if (ec == std::errc{} && whole) {
        text.pos = ptr;
        return value;
    }
    if (ec == std::errc::result_out_of_range && whole) FAIL_BAD_VALUE(text, "integer out of range");
    FAIL_BAD_VALUE(text, "expected an integer");
}

void END_READ(text_file& text) {
    const auto left = static_cast<std::size_t>(text.end - text.pos);
    const void* line_end = left > 0 ? std::memchr(text.pos, '\n', left) : nullptr;
    if (line_end == nullptr) {
        text.pos = text.end;
    } else {
        text.pos = static_cast<const char*>(line_end) + 1;
        ++text.line;
    }
}

void READ_REALS(text_file& text, std::span<double> values, std::string_view what) {
    const std::size_t count = values.size();
    for (std::size_t n = 0; n < count; ++n) {
        if (!SKIP_SEPARATORS(text)) [[unlikely]] FAIL_ENDED(text, std::string(what) + " value", n, count);
        values[n] = REAL_HERE(text);
    }
    END_READ(text);
}

std::string_view READ_LINE(text_file& text, std::string_view what) {
    if (text.pos == text.end) FAIL_ENDED(text, what, 0, 0);
    const char* const start = text.pos;
    END_READ(text);
    const char* stop = text.pos;
    if (stop != start && stop[-1] == '\n') --stop;
    if (stop != start && stop[-1] == '\r') --stop;
    return {start, static_cast<std::size_t>(stop - start)};
}

void SKIP_LINE(text_file& text, std::string_view what) { static_cast<void>(READ_LINE(text, what)); }

std::int32_t LAST_LINE(const text_file& text) {
    // At the end, line counts the line feeds passed plus one; a final line feed closes the
    // last line rather than starting one.
    if (text.pos == text.begin) return text.begin == text.end ? 0 : text.line;
    return text.pos[-1] == '\n' ? text.line - 1 : text.line;
}

}  // namespace orvex
