// command_line.h: what plot_orvex_3dfields makes of its arguments before the run.
//
// WHAT IT IS
//   The program reads only its control file; the command line can only ask about the program or
//   name the directory to run in:
//     (none)              the run, in the working directory
//     DIRECTORY           the run, exactly as if started in DIRECTORY (entered before anything
//                         is read)
//     -- DIRECTORY        the same, for a DIRECTORY that begins with '-'; "--" alone is no
//                         argument
//     --help, -h          a short usage on standard output, status 0
//     --version, -V       "plot_orvex_3dfields 1.0.0" on standard output, status 0
//     --export FILE [--frequency MHZ], before or after DIRECTORY: the export run instead of
//                         the page (export_run.h), its options checked here
//     --figures [--frequency MHZ] [--beta B] [DIRECTORY]   the figures as JSON (figures_run.h)
//   Anything else (an unknown option, a second argument, a directory that cannot be entered) is
//   refused with one line on standard error and status 2. Help, version and refusals read and
//   write no file.
//
// HOW TO CALL IT
//   int main(int argc, char** argv) {
//       const command_answer answer = ANSWER_COMMAND_LINE(argc, argv);
//       return answer.run ? PLOT_ORVEX_3DFIELDS() : answer.status;
//   }
//
// ASSUMES AND LIMITS
//   Called once, first thing in main: a DIRECTORY changes the process's working directory. Help or
//   version text that cannot be written to standard output gives status 1 and one line on
//   standard error.
#pragma once

#include <string_view>

namespace orvex {

// The program's version, "1.0.0".
std::string_view PROGRAM_VERSION();

struct command_answer {
    bool run;    // true: go on with the run in the (possibly new) working directory
    int status;  // when run is false: the exit status, the answer already written
    bool figures = false;  // when run is true: the figures as JSON instead of the page (figures_run.h)
};

command_answer ANSWER_COMMAND_LINE(int argc, const char* const* argv);

}  // namespace orvex
