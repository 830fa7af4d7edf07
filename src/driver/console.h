// console.h: the console listing of a run, and the two ways a run stops early.
//
// Every line the program writes to the console is one record: a label exactly as given
// (its blanks included), then its values in order. CONSOLE_WRITE is the one formatter every
// record goes through:
//   - an integer is right-aligned in 12 columns;
//   - a double is right-aligned in 24 columns with 15 significant digits, in fixed form for
//     0 and for 0.1 <= |v| < 1e15, otherwise in exponent form with a three-digit exponent
//     (8.33333333333333E-002);
//   - a text value is written as it stands.
// Each record goes to standard output and is kept in console_log, so that the window's
// console pane can repeat every record of the run.
//
// A run stops early in one of two ways, both by throwing run_stop, which the main program
// catches, prints and turns into exit status 1:
//   - STOP_RUN: the system's own stop message, a console record on standard output;
//   - INPUT_FAILURE: a failure of the input layer (missing file, text where a number is
//     expected, a record that ends early), one line on standard error naming the file, the
//     line or record, and what was wrong.
// Nothing is written when the exception is thrown; the catcher writes it, once.
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

// Every record written so far in this run, each ending in '\n'. Capacity is fixed; records
// beyond it still reach standard output but are not kept (the pane then ends with "...").
std::string_view CONSOLE_LOG();
void CLEAR_CONSOLE_LOG();

// While quiet, records are kept in the log but not written to standard output (tests).
void SET_CONSOLE_QUIET(bool quiet);

// How a run ended early.
struct run_stop {
    enum class channel { console, input };  // console record on stdout, or a line on stderr
    channel where;
    std::string message;
};

// The system's own stop: message is the fixed text, written as a console record.
[[noreturn]] void STOP_RUN(std::string_view message);

// A failure of the input layer. file is the name as opened; place is "" or a line number or
// record number already formatted ("3", "record 5"); what says what was wrong.
[[noreturn]] void INPUT_FAILURE(std::string_view file, std::string_view place, std::string_view what);

// Writes a caught run_stop where it belongs (stdout as a record, or stderr).
void REPORT_RUN_STOP(const run_stop& stop);

}  // namespace orvex
