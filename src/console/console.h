// console.h: the console listing of a run.
//
// WHAT IT IS
//   Every line the program writes to the console is one record: a label exactly as given (its
//   blanks included), then its values in order. CONSOLE_WRITE is the one formatter every record
//   goes through:
//     - an integer is right-aligned in 12 columns;
//     - a double is right-aligned in 24 columns with 15 significant digits, in fixed form for 0
//       and for 0.1 <= |v| < 1e15, otherwise in exponent form with a three-digit exponent
//       (8.33333333333333E-002); NaN and infinities are written as words;
//     - a text value is written as it stands, its control characters as \xNN (VISIBLE_TEXT),
//       so a file name cannot drive the terminal or break the line.
//   Each record goes to standard output and is kept in the console log, so that the window's
//   console pane can repeat every record of the run. A record that cannot be written (standard
//   output closed, a full device, a closed pipe with SIGPIPE ignored) is remembered, and no
//   later record is tried: CONSOLE_OUTPUT_ERROR tells the run its listing was lost.
//
// HOW TO CALL IT
//   CONSOLE_WRITE(" ksym = ", {L_INT(g.ksym)});
//   CONSOLE_WRITE("xmws limits= ", {L_REAL(lo), L_REAL(hi)});
//
// ASSUMES AND LIMITS
//   One thread. The log keeps 64 KB, many times a whole run's listing; records beyond it still
//   reach standard output, and the log then ends with "...".
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace orvex {

// One value of a console record.
struct listed_value {
    enum class form { integer, real, text };
    form kind;
    std::int32_t integer = 0;
    double real = 0.0;
    std::string_view text = {};
};

constexpr listed_value L_INT(std::int32_t v) { return {listed_value::form::integer, v, 0.0, {}}; }
constexpr listed_value L_REAL(double v) { return {listed_value::form::real, 0, v, {}}; }
constexpr listed_value L_TEXT(std::string_view v) { return {listed_value::form::text, 0, 0.0, v}; }

// Writes one record: label, then the values, then a line end.
void CONSOLE_WRITE(std::string_view label, std::initializer_list<listed_value> values = {});

// The field forms of the listing, for tests and for callers that build their own text.
std::string FORMAT_LISTED_INTEGER(std::int32_t v);  // 12 columns
std::string FORMAT_LISTED_REAL(double v);           // 24 columns

// text with every control character written as \xNN: below 0x20, 0x7F, the C1 controls in
// UTF-8 (U+0080 to U+009F), and every byte that is no part of a well-formed UTF-8 character (a
// Latin-1 letter, a C1 control to an 8-bit terminal, a cut character). Other UTF-8 stays as it
// is, so the text is valid UTF-8 on one line.
std::string VISIBLE_TEXT(std::string_view text);

// text as valid UTF-8: only the bytes that are no part of a well-formed UTF-8 character are
// written as \xNN; control characters stay (for a format that escapes them its own way, JSON).
std::string UTF8_TEXT(std::string_view text);

// The error (an errno value) that kept a record from standard output, or 0.
int CONSOLE_OUTPUT_ERROR();

// Keeps descriptors 0, 1 and 2 taken: each one that is closed is opened on /dev/null, so that
// no file the run opens later lands there and receives its listing. A closed standard output
// counts as a record that could not be written (EBADF).
void HOLD_STANDARD_STREAMS();

// Every record written so far in this run, each ending in '\n'.
std::string_view CONSOLE_LOG();
void CLEAR_CONSOLE_LOG();

// While quiet, records are kept in the log but not written to standard output (tests, and a
// page redrawn for the window whose listing the run has already written). Returns the setting
// it replaces.
bool SET_CONSOLE_QUIET(bool quiet);

// Drops what the log kept after its first length bytes (CONSOLE_LOG().size() taken before), so
// that records written again for a redraw are not listed twice. A larger length changes nothing.
void TRUNCATE_CONSOLE_LOG(std::size_t length);

}  // namespace orvex
