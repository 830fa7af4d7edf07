// freeform_fuzz.cpp: the free-form reader driven through a pseudo-random sequence of reads.
//
// The first byte seeds the sequence (reals, integers, ends of reads, whole lines, groups);
// the rest is the file. Besides crashes, it checks what messages and values rest on:
//   - the reader only moves forward, stays inside the text, never stops inside a line end, and
//     its line number is always 1 + the line ends before its position (LF, CR LF and CR CR LF
//     are one line end each, a CR alone is one);
//   - an accepted real is the value strtod gives for the same characters (D taken as E, a
//     leading '+' dropped); an accepted integer the value strtoll gives.
#include <array>
#include <cerrno>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fieldio/freeform.h"
#include "fuzz_input.h"
#include "console/run_stop.h"

namespace {

using namespace orvex;

bool SEPARATOR(char c) { return c == ' ' || c == '\t' || c == ',' || c == '\n' || c == '\r'; }

// The characters of the value that ends just before text.pos.
std::string VALUE_BEFORE(const text_file& text) {
    const char* start = text.pos;
    while (start != text.begin && !SEPARATOR(start[-1])) --start;
    return std::string(start, text.pos);
}

// The length of the line end at p, counted independently of the reader: a '\n', or a '\r'
// with the '\n' or "\r\n" after it; 0 when p holds no line end.
std::size_t LINE_END_AT(const char* p, const char* end) {
    if (*p == '\n') return 1;
    if (*p != '\r') return 0;
    if (end - p >= 2 && p[1] == '\n') return 2;
    if (end - p >= 3 && p[1] == '\r' && p[2] == '\n') return 3;
    return 1;
}

std::string AS_PLAIN(std::string v) {
    if (!v.empty() && v[0] == '+') v.erase(0, 1);
    for (char& c : v)
        if (c == 'D' || c == 'd') c = 'E';
    return v;
}

void CHECK_REAL(const text_file& text, double value) {
    const std::string plain = AS_PLAIN(VALUE_BEFORE(text));
    char* end = nullptr;
    const double expect = std::strtod(plain.c_str(), &end);
    if (std::isnan(value) != std::isnan(expect)) __builtin_trap();
    if (!std::isnan(value) && value != expect) __builtin_trap();
}

void CHECK_INTEGER(const text_file& text, std::int32_t value) {
    const std::string plain = AS_PLAIN(VALUE_BEFORE(text));
    errno = 0;
    const long long expect = std::strtoll(plain.c_str(), nullptr, 10);
    if (errno != 0 || expect != value) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    fuzz::ENTER_FUZZ_DIR();
    fuzz::WRITE_INPUT("freeform.txt", data + 1, size - 1);
    std::uint32_t state = data[0] * 2654435761u + 1u;
    text_file text;
    const char* seen = nullptr;  // how far the line ends have been counted
    std::int64_t line_ends = 0;
    try {
        OPEN_TEXT(text, "freeform.txt");
        seen = text.begin;
        std::array<double, 3> group{};
        for (int op = 0; op < 4096 && text.pos != text.end; ++op) {
            const char* const before = text.pos;
            state = state * 1103515245u + 12345u;
            switch ((state >> 16) % 6) {
                case 0:
                case 1: CHECK_REAL(text, NEXT_REAL(text, "value")); break;
                case 2: CHECK_INTEGER(text, NEXT_INTEGER(text, "integer", 3, 9)); break;
                case 3: END_READ(text); break;
                case 4: static_cast<void>(READ_LINE(text, "line")); break;
                default: READ_REALS(text, group, "group"); break;
            }
            if (text.pos < before || text.pos > text.end) __builtin_trap();
            while (seen < text.pos) {
                const std::size_t length = LINE_END_AT(seen, text.end);
                seen += length == 0 ? 1 : length;
                line_ends += length == 0 ? 0 : 1;
            }
            if (seen != text.pos || text.line != 1 + line_ends) __builtin_trap();
        }
    } catch (const run_stop& stop) {
        fuzz::CHECK_STOP(stop);
    }
    return 0;
}
