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
//     --compare OTHER_DIRECTORY  this map against the map of OTHER_DIRECTORY, as JSON
//                               (compare_run.cpp); a relative OTHER_DIRECTORY is taken from
//                               where the program was started
//     --slice PLANE:NODE:QUANTITY --image FILE [--size WxH]  a slice's picture (slice_run.h)
//     --probe POINTS [--interpolation linear|cubic]  the fields at points, as CSV (probe_run.cpp)
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
//   A relative export FILE is taken from the directory the program was started in, also with a
//   DIRECTORY and also when that directory's absolute name is longer than PATH_MAX: that
//   directory is held open (export_directory) and the file written from it.
//   --probe's points are made here, once every other argument is found sound and before the
//   DIRECTORY is entered (so a relative points file is read from where the program was
//   started): a bad POINTS is refused like any argument (status 2), a points file that cannot be
//   read ends the run with its one line and status 1; either way before the map is read.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "field/slices.h"

#include "console/file_output.h"

#include "field/interpolate.h"
#include "fieldio/probe_points.h"

namespace orvex {

// The program's version, "1.0.0".
std::string_view PROGRAM_VERSION();
// "plot_orvex_3dfields 1.0.0", as the PNG, the JSON documents and --version name the program.
std::string PROGRAM_AND_VERSION();

enum class run_mode { page, figures, export_map, multipoles, compare, slice, probe, track };

struct run_request {
    run_mode mode = run_mode::page;
    std::optional<std::string> directory;      // the directory to run in, or the working one
    std::string export_file;                   // --export FILE, as given
    int export_directory = working_directory;  // a relative FILE is taken from this directory,
                                               // the one the program was started in (open)
    std::string export_shown;                  // FILE as messages name it: absolute if it can be
    std::optional<double> frequency_mhz, beta; // --frequency, --beta
    std::optional<double> radius_cm;           // --radius
    bool strict = false;                       // --strict
    std::string compare_directory;             // --compare OTHER_DIRECTORY, made absolute
    slice_cut slice;                           // --slice PLANE:NODE:QUANTITY (the field: line 5's)
    std::string slice_text;                    // the --slice argument, as given
    std::string image_file;                    // --image FILE, made absolute
    std::optional<std::pair<int, int>> image_size;  // --size WxH
    std::string probe_argument;                // --probe POINTS, as given
    interpolation probe_rule = interpolation::cubic;  // --interpolation
    std::shared_ptr<const probe_points> points;       // the points POINTS names, once made
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
