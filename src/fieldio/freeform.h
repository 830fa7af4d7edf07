// freeform.h: the free-form text reader of the control file and of both text field layouts.
//
// WHAT IT IS
//   A text file is mapped into memory and parsed in place: nothing is allocated per value, line
//   or read. The reader follows these rules:
//     - every read begins at the start of a line;
//     - values are separated by blanks, tabs, commas or line ends; a run of separators is one
//       separator (two commas do not make an empty value);
//     - a read that needs more values goes on to the next lines, so blank lines are passed over;
//     - once a read has its values, the rest of its last line is skipped (END_READ);
//     - a line ends with LF, CR LF, CR CR LF (a file converted twice) or a CR alone (old Mac
//       files); the line end is never part of the line;
//     - a real accepts an optional sign, an integer, a decimal fraction or an exponent form, with
//       E, e, D or d as the exponent letter (1.5D+03), and NaN or Infinity in any case, with as
//       many digits as it likes (rounded to the nearest double); a value too large for a double
//       is refused ("number out of range"), one too small becomes 0 or a subnormal;
//     - an integer accepts an optional sign and decimal digits, and must fit 32 bits;
//     - a UTF-8 byte-order mark at the start of the file is skipped.
//   The reader knows the line it stands on; every failure ends the run through INPUT_FAILURE
//   naming the file and that line, e.g. `map_EM.txt:3: expected a number, found "1.2.3"`.
//
//   What is not text is refused where the reader meets it, so no read ever looks further than
//   longest_scan bytes ahead and a file of any size costs bounded time and memory:
//     - a NUL byte (a binary file, a sparse hole) where a line is read or skipped ends the run
//       naming its line; a value holding one is "expected a number"; a UTF-16 or UTF-32 file is
//       named as such;
//     - a line, a value, or a run of blanks and empty lines longer than longest_scan ends the
//       run naming the line it began on;
//     - a file whose first bytes are not text (a control character or a NUL among its first
//       four), read with binary_advice set, is named as binary with that advice where a value
//       or a line fails, and none of its bytes is quoted.
//   The pages of the mapping already read are given back as the read moves on, so the resident
//   part of a large file stays a few megabytes.
//
//   Usage: OPEN_TEXT, then per read NEXT_REAL / NEXT_INTEGER as often as the read needs and
//   END_READ, or READ_LINE / SKIP_LINE for whole lines; the file is unmapped by CLOSE_TEXT or
//   when the record goes out of scope. A file that cannot be mapped (a kernel file under /proc
//   that reports size 0, say) is read into memory instead, up to longest_scan bytes.
//
// HOW TO CALL IT
//   text_file text; OPEN_TEXT(text, path);
//   const double d = NEXT_REAL(text, "d_elm"); ...; END_READ(text);
//   READ_REALS(text, g.xmws, "xmws");  // one whole read
//
// ASSUMES AND LIMITS
//   One reader per file, one thread. Failures never return: they throw through INPUT_FAILURE.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "fieldio/input_file.h"

namespace orvex {

// The furthest any one scan of the reader goes: a line, a value or a run of separators.
inline constexpr std::size_t longest_scan = std::size_t{16} << 20;
inline constexpr std::string_view longest_scan_text = "16 MB";

struct text_file {
    input_file file;
    const char* begin = nullptr;  // the text (after a byte-order mark)
    const char* end = nullptr;
    const char* pos = nullptr;    // next character to read
    std::int64_t line = 1;        // 1-based number of the line pos stands on
    void* map_base = nullptr;     // the mapping, when the file is mapped
    std::size_t map_length = 0;
    const char* kept = nullptr;   // pages of the mapping from here on are still resident
    std::unique_ptr<char[]> held; // the text, when the file is read instead of mapped
    // What a failure says instead of quoting bytes when the file's first bytes are not text (a
    // binary map named as text): "line 4 of the control file says 1, ...". Empty: no such check.
    std::string binary_advice;

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
std::int64_t LAST_LINE(const text_file& text);

// Skips the separators before the next value; false when the file ends first (a read that
// wants to know whether another value follows, without failing).
bool MORE_VALUES(text_file& text);

// Used by the reader itself: gives back the pages of the mapping well behind pos.
void RELEASE_READ_PAGES(text_file& text);

// The encoding a file that is not plain text declares by its first bytes ("UTF-16",
// "UTF-32"), or "" when nothing points that way.
std::string_view WIDE_ENCODING(const text_file& text);

// True when the file's first four bytes hold a control character or a NUL: a binary file (a
// binary map begins with a record length), not text.
bool STARTS_BINARY(const text_file& text);

}  // namespace orvex
