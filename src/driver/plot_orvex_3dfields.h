// plot_orvex_3dfields.h: the main program, one straight pass from control file to page.
//
// WHAT IT IS
//   control file -> field file classified and echoed -> stored lattice (reader) -> header
//   listing -> map checks (notes on standard error) -> full grid (unfolding) -> profiles and
//   page (plot driver) -> window or PNG.
//
// HOW TO CALL IT
//   int main() { return orvex::PLOT_ORVEX_3DFIELDS(); }   // in the working directory
//
// ASSUMES AND LIMITS
//   Called once per process. Returns the exit status: 0 after a complete run, 1 after any
//   stop, its one line already written.
#pragma once

#include <cstddef>

#include "field/unfold.h"

namespace orvex {

// READ_RUN_MAP, then the unfolding (of scope); a grid that matches no unfolding case stops the
// run. Shared with the figures run.
void READ_AND_UNFOLD_MAP(unfold_scope scope);

// Runs stages; a stop or failure thrown from them is written once, where a run writes it, and
// false is returned.
bool RUN_STAGES(void (*stages)());

// The map notes from note first on, one line each on standard error (none when the listing
// was lost).
void REPORT_MAP_NOTES(std::size_t first);

// Runs the whole sequence in the working directory and returns the process exit status:
// 0 after a complete run, 1 after any stop (its one line already written).
int PLOT_ORVEX_3DFIELDS();

// The run's first stages, shared with the export run (export_run.h): control file, the map read
// into the stored lattice, the header listing, the mirror flags checked, the map's notes on
// standard error. A stop throws run_stop.
void READ_RUN_MAP();

}  // namespace orvex
