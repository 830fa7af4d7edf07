// write_field_map.h: what the program's two commands share: its answers to --help and
// --version, its one-line messages, and the control file written beside a new map.
//
// WHAT IT IS
//   WRITER_COMMAND (writer_command.cpp) writes an analytic or device map; IMPORT_COMMAND
//   (import_command.cpp) a solver's table. Each parses its options, returns the exit status and
//   never ends the process itself: 0 written, 1 not written (one line on standard error says
//   why; nothing is left behind and an old file stays), 2 a bad option (nothing read or
//   written). usage_error is how a parser refuses an option; the command turns it into its line
//   and status 2.
//
// HOW TO CALL IT
//   return ASKS_FOR_IMPORT(argc, argv) ? IMPORT_COMMAND(argc, argv) : WRITER_COMMAND(argc, argv);
//
// ASSUMES AND LIMITS
//   Messages go to standard error, "write_field_map: " first; what they quote from a table or a
//   name is shown safely (fieldio/import_source.h, SHOWN_TEXT).
#pragma once

#include <string>
#include <string_view>

namespace orvex::mapgen {

struct usage_error {
    std::string text;
};

// --help (the usage on standard output) and --version: status 0, or 1 when it cannot be written.
int ANSWER_HELP();
int ANSWER_VERSION();

// "write_field_map: <line>" on standard error.
void SAY(std::string_view line);

// After a map was written to out: the control file beside it when its directory has none, and
// one line on standard error saying so (or why there is none).
void CONTROL_FILE_BESIDE(const std::string& out, int format_flag, int field_flag);

bool ASKS_FOR_IMPORT(int argc, const char* const* argv);
int IMPORT_COMMAND(int argc, const char* const* argv);
int WRITER_COMMAND(int argc, const char* const* argv);

}  // namespace orvex::mapgen
