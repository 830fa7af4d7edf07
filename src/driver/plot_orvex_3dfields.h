// plot_orvex_3dfields.h: the main program, one straight pass from control file to page.
#pragma once

namespace orvex {

// Runs the whole sequence in the working directory and returns the process exit status:
// 0 after a complete run, 1 after any stop (its one line already written).
int PLOT_ORVEX_3DFIELDS();

}  // namespace orvex
