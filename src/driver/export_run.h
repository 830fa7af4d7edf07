// export_run.h: plot_orvex_3dfields --export FILE [--frequency MHZ] [DIRECTORY]: the map read
// as a run reads it, unfolded and written to FILE for other programs, and no page.
//
// WHAT IT IS
//   TAKE_EXPORT_OPTIONS takes --export FILE and --frequency MHZ out of the command line before
//   the rest is answered as usual, and checks them: FILE must end in .h5, .vti or .csv, MHZ be
//   a positive number, and only with a .h5 FILE. A relative FILE is taken from the directory
//   the program was started in, also when a DIRECTORY is named. EXPORT_ORVEX_MAP then runs: the
//   control file, the map, its checks (notes on standard error) and the file written whole
//   (fieldio/map_export.h); the listing is not printed. One line on standard error names the
//   file written.
//
// HOW TO CALL IT
//   std::vector<const char*> rest;
//   if (std::string why = TAKE_EXPORT_OPTIONS(argc, argv, rest); !why.empty()) refuse with why;
//   ... later, when the run goes on: return export_settings.requested ? EXPORT_ORVEX_MAP() : ...;
//
// ASSUMES AND LIMITS
//   Status as a run: 0 when written, 1 after a stop (the stop's one line as in a normal run) or
//   when the file cannot be written (nothing is left behind).
#pragma once

#include <string>
#include <vector>

namespace orvex {

struct export_settings_record {
    bool requested = false;
    std::string file;            // absolute
    double frequency_mhz = 0.0;  // 0: a static field
};
extern export_settings_record export_settings;

// Moves the export options into export_settings and every other argument into rest (argv[0]
// first). Returns "" or the one line that refuses them.
std::string TAKE_EXPORT_OPTIONS(int argc, const char* const* argv, std::vector<const char*>& rest);

// The export run in the working directory; returns the exit status.
int EXPORT_ORVEX_MAP();

}  // namespace orvex
