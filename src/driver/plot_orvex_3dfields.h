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

namespace orvex {

// Runs the whole sequence in the working directory and returns the process exit status:
// 0 after a complete run, 1 after any stop (its one line already written).
int PLOT_ORVEX_3DFIELDS();

// The run's first stages, shared with the export run (export_run.h): control file, the map read
// into the stored lattice, the header listing, the mirror flags checked, the map's notes on
// standard error. A stop throws run_stop.
void READ_RUN_MAP();

}  // namespace orvex
