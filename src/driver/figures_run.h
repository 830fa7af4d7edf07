// figures_run.h: plot_orvex_3dfields --figures: the map's figures as JSON instead of a page.
//
// WHAT IT IS
//   plot_orvex_3dfields --figures [--frequency MHZ] [--beta B] [DIRECTORY]
//   reads the control file and the map as a run does (the same stops, the same notes on
//   standard error; the listing is not printed), unfolds both fields of a map that carries both
//   (else the one line 5 chooses), and writes one JSON document (field/figures_json.h) on
//   standard output; no page. --frequency (MHz, > 0) adds the RF figures of the electric field
//   on the axis, the best beta among them; --beta (0 < B <= 1, with --frequency) those at B.
//   The options come in any order, the directory anywhere among them; a bad value, a repeated
//   option, --beta without --figures or without --frequency, --figures with --export is refused
//   with one line on standard error and status 2, nothing read or written.
//
// HOW TO CALL IT
//   if (IS_FIGURES_COMMAND_LINE(argc, argv)) why = TAKE_FIGURES_OPTIONS(argc, argv, directory);
//   ... if (answer.run) return answer.figures ? FIGURES_RUN() : PLOT_ORVEX_3DFIELDS();
//
// ASSUMES AND LIMITS
//   Called once per process. FIGURES_RUN returns 0 when the document was written, 1 after a
//   stop (its one line written as a run writes it) or when standard output cannot be written.
#pragma once

#include <string>

#include "show/page_content.h"

namespace orvex {

// Whether an argument asks for the figures (--figures or --beta; --frequency alone belongs to
// --export, export_run.h).
bool IS_FIGURES_COMMAND_LINE(int argc, const char* const* argv);

// Takes the figures' options of the command line and the DIRECTORY (set, or left null); "" or
// the one line that refuses them. "--" ends the options: what follows is the directory.
std::string TAKE_FIGURES_OPTIONS(int argc, const char* const* argv, const char*& directory);

int FIGURES_RUN();

// What the window's figures need beyond the grid (show/page_content.h): the ten lines of the
// run's full grid, the program and the map's name. Called once the grid is unfolded.
page_figures PAGE_FIGURES();

}  // namespace orvex
