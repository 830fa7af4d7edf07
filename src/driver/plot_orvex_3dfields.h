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

// The run up to the full grid: control file, map, header listing, map checks (their notes on
// standard error), unfolding (of scope); stops (throws run_stop) as the run does. Shared with
// the figures run.
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

}  // namespace orvex
