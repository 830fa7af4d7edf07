// run_request.h: the command line, parsed once into what the run is to do.
//
// WHAT IT IS
//   plot_orvex_3dfields reads only its control file and the map; its command line chooses the
//   mode of the run, its options and the directory to run in:
//     (none)                    the page, in the working directory
//     DIRECTORY                 the same, exactly as if started in DIRECTORY
//     -- DIRECTORY              the same, for a DIRECTORY that begins with '-': after "--" every
//                               argument is a directory, whatever it looks like
//     --help, -h / --version, -V  the usage / "plot_orvex_3dfields 1.0.0" on standard output
//     --export FILE [--frequency MHZ]         the unfolded map written to FILE (export_run.h)
//     --figures [--frequency MHZ] [--beta B]  the figures as JSON (figures_run.h)
//     --multipoles [--radius CM]              the multipoles of every z plane as CSV
//                                             (multipoles_run.cpp); --radius goes with
//                                             --figures too
//     --track --energy MEV [--particle P] [--frequency MHZ] [--phase DEG | --scan N]
//             [--start X,Y] [--slope XP,YP] [--matrix]   a particle tracked, as JSON (track_run.cpp)
//     --strict                  with any mode: status 3 when the run raises a note
//   Options come in any order, before or after the directory. One table (run_request.cpp) says
//   which option takes a value, which mode it chooses or belongs to; PARSE_COMMAND_LINE checks
//   everything it can without reading a file (values, repeats, options of another mode), so a
//   refused command line reads and writes nothing. Frequencies and betas are checked by the
//   one rule the window uses too (field/figures.h).
//
// HOW TO CALL IT
//   const command_line_answer a = PARSE_COMMAND_LINE(argc, argv);
//   if (!a.run) return a.status;                 // help, version or a refusal, already written
//   return RUN_REQUEST(a.request);               // run_modes.h
//
// ASSUMES AND LIMITS
//   Called once, first thing in main. A refusal is one line on standard error and status 2;
//   help or version text that cannot be written gives status 1 and one line on standard error.
//   A DIRECTORY is entered later, by RUN_REQUEST, so that a relative export FILE is taken from
//   where the program was started.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orvex {

// The program's version, "1.0.0".
std::string_view PROGRAM_VERSION();
// "plot_orvex_3dfields 1.0.0", as the PNG, the JSON documents and --version name the program.
std::string PROGRAM_AND_VERSION();

enum class run_mode { page, figures, export_map, multipoles, track };

struct run_request {
    run_mode mode = run_mode::page;
    std::optional<std::string> directory;      // the directory to run in, or the working one
    std::string export_file;                   // --export FILE, as given
    std::optional<double> frequency_mhz, beta; // --frequency, --beta
    std::optional<double> radius_cm;           // --radius
    bool strict = false;                       // --strict
    // --track: the particle (as --particle gives it), its kinetic energy (MeV), the RF phase
    // (degrees) or the number of phases of a scan, the start (cm) and slopes (mrad), --matrix.
    std::string particle = "proton";
    std::optional<double> energy_mev, phase_deg;
    std::optional<int> scan;
    double start_x = 0.0, start_y = 0.0, slope_x = 0.0, slope_y = 0.0;
    bool matrix = false;
};

struct command_line_answer {
    bool run = false;   // true: run request; false: the answer is written, end with status
    int status = 0;
    run_request request;
};

command_line_answer PARSE_COMMAND_LINE(int argc, const char* const* argv);

}  // namespace orvex
