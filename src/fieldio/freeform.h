// freeform.h: the free-form text reader of the control file and of both text field layouts.
//
// A text file is mapped into memory and parsed in place: nothing is allocated per value, line
// or read. The reader follows these rules:
//   - every read begins at the start of a line;
//   - values are separated by blanks, tabs, commas or line ends; a run of separators is one
//     separator (two commas do not make an empty value);
//   - a read that needs more values goes on to the next lines, so blank lines are passed over;
//   - once a read has its values, the rest of its last line is skipped (END_READ);
//   - a carriage return just before a line end (or at the very end of the file) is not part of
//     the line;
//   - a real accepts an optional sign, an integer, a decimal fraction or an exponent form, with
//     E, e, D or d as the exponent letter (1.5D+03), and NaN or Infinity in any case; a value
//     too large for a double is refused, one too small becomes 0 or a subnormal;
//   - an integer accepts an optional sign and decimal digits, and must fit 32 bits.
// The reader knows the line it stands on; every failure ends the run through INPUT_FAILURE
// naming the file and that line, e.g. `map_EM.txt:3: expected a number, found "1.2.3"`.
//
// Usage: OPEN_TEXT, then per read NEXT_REAL / NEXT_INTEGER as often as the read needs and
// END_READ, or READ_LINE / SKIP_LINE for whole lines; the file is unmapped by CLOSE_TEXT or
// when the record goes out of scope.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "fieldio/input_file.h"

namespace orvex {

struct text_file {
    input_file file;
    const char* begin = nullptr;  // the mapped text
    const char* end = nullptr;
    const char* pos = nullptr;    // next character to read
    std::int32_t line = 1;        // 1-based number of the line pos stands on
    void* map_base = nullptr;
    std::size_t map_length = 0;

    text_file() = default;
    text_file(const text_file&) = delete;
    text_file& operator=(const text_file&) = delete;
    ~text_file();
};

// Opens and maps path (taken as it stands); the reader stands at the start of line 1.
void OPEN_TEXT(text_file& text, std::string_view path);
void CLOSE_TEXT(text_file& text);

// The next value of the current read. `what` names the value for the message when the file
// ends first; with count > 0 the message reads "<what> <index + 1> of <count>" ("node 7 of 9").
double NEXT_REAL(text_file& text, std::string_view what, std::size_t index = 0, std::size_t count = 0);
std::int32_t NEXT_INTEGER(text_file& text, std::string_view what, std::size_t index = 0, std::size_t count = 0);

// Ends the current read: skips the rest of the line the last value stood on.
void END_READ(text_file& text);

// One whole read of values.size() reals (the rest of its last line skipped); the file ending
// first is reported as "<what> value <n> of <count>".
void READ_REALS(text_file& text, std::span<double> values, std::string_view what);

// The whole current line, without its line end (and a carriage return before it); the reader
// moves to the next line. The file ending before the line begins ends the run.
std::string_view READ_LINE(text_file& text, std::string_view what);
void SKIP_LINE(text_file& text, std::string_view what);

// The number of the place where the text ended, for messages (the last line of the file).
std::int32_t LAST_LINE(const text_file& text);

}  // namespace orvex
