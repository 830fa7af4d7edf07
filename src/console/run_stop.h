// run_stop.h: the two ways a run ends early.
//
// WHAT IT IS
//   A stop throws run_stop; the main program catches it, writes it once and ends with status 1.
//   Nothing is written when it is thrown, so nothing after the stop is read, listed, drawn or
//   written, and the one line appears exactly once:
//     - STOP_RUN: the system's own stop message (" Not a valid field format "), written as a
//       console record on standard output, exactly as given;
//     - INPUT_FAILURE: a failure of the input layer (a missing file, text where a number is
//       expected, a record that ends early), one line on standard error:
//       "plot_orvex_3dfields: <file>[:<place>]: <what>";
//     - RUN_FAILURE: anything else the run cannot do without (no font to draw the page's texts
//       with), one line on standard error: "plot_orvex_3dfields: <what>".
//
// HOW TO CALL IT
//   if (nx_in != 25) STOP_RUN(msg_count_mismatch);
//   INPUT_FAILURE(file.name, "record 5", "record holds 12 bytes, xmws needs 200");
//   and in main: try { ... } catch (const run_stop& stop) { REPORT_RUN_STOP(stop); return 1; }
//   A stop written to standard output that could not be written is followed by
//   REPORT_LOST_LISTING, so the one line reaches standard error instead.
//
// ASSUMES AND LIMITS
//   The file name in an input failure is shown with its control characters as \xNN, so the
//   line stays one line whatever the name holds. Library callers (the histogram library) use
//   STOP_RUN for misuse; they catch run_stop the same way.
#pragma once

#include <string>
#include <string_view>

namespace orvex {

// How a run ended early.
struct run_stop {
    enum class channel { console, input };  // console record on stdout, or a line on stderr
    channel where;
    std::string message;
    std::string note = {};  // "" or what to do, one line on stderr after the message
};

// The system's own stop: message is the fixed text, written as a console record.
[[noreturn]] void STOP_RUN(std::string_view message);
// The same stop, followed on standard error by "plot_orvex_3dfields: note: <note>" saying what
// to do (its control characters as \xNN).
[[noreturn]] void STOP_RUN_WITH_NOTE(std::string_view message, std::string_view note);

// A failure of the input layer. file is the name as opened; place is "" or a line number or
// record number already formatted ("3", "record 5"); what says what was wrong.
[[noreturn]] void INPUT_FAILURE(std::string_view file, std::string_view place, std::string_view what);

// A failure of the run that is not about an input file.
[[noreturn]] void RUN_FAILURE(std::string_view what);

// Writes a caught run_stop where it belongs (stdout as a record, or stderr).
void REPORT_RUN_STOP(const run_stop& stop);

// When the listing could not be written to standard output (CONSOLE_OUTPUT_ERROR), says so in
// one line on standard error ("plot_orvex_3dfields: cannot write the listing to standard
// output: No space left on device") and returns true; the run then ends with status 1.
bool REPORT_LOST_LISTING();

}  // namespace orvex
