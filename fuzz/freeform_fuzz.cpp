// freeform_fuzz.cpp: the free-form reader driven through a pseudo-random sequence of reads.
//
// The first byte seeds the sequence (reals, integers, ends of reads, whole lines, groups);
// the rest is the file. Besides crashes, it checks what messages and values rest on:
//   - the reader only moves forward, stays inside the text, and its line number is always
//     1 + the line feeds before its position;
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
    // A carriage return inside a value belongs to it; one before the line end does not, and the
    // reader stops there, so walking back over non-separators is enough.
    return std::string(start, text.pos);
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
    const char* seen = nullptr;  // how far the line feeds have been counted
    std::int32_t line_feeds = 0;
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
            for (; seen < text.pos; ++seen) line_feeds += *seen == '\n';
            if (text.line != 1 + line_feeds) __builtin_trap();
        }
    } catch (const run_stop& stop) {
        fuzz::CHECK_STOP(stop);
    }
    return 0;
}
