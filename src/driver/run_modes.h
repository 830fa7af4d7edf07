// run_modes.h: every mode of a run through one wrapper.
//
// WHAT IT IS
//   RUN_REQUEST runs what the command line asked for (run_request.h), in the working directory:
//     control file -> field file classified and echoed -> stored lattice (reader) -> header
//     listing -> map checks (notes on standard error) -> full map (UNFOLD_GRID, the fields
//     unfolded as they are asked for) -> the mode's stages -> its output
//   The mode's stages take the full map and the field (line 5's) as arguments and leave their
//   output in a run_outcome: a document for standard output (written whole and checked), a line
//   for standard error, or the page to show. This is the one place that turns a stop into its
//   message and exit status:
//     0  the run is complete (the window closed, the PNG or the file written, the document out)
//     1  the run stopped (its one line written as the stop says), or its output could not be
//        written (one line on standard error)
//     2  an argument the map refuses (a --slice node beyond its plane): the mode's one line
//     3  with --strict, a complete run that raised a note (map checks, divergence)
//   Only the page's run prints the listing; the other modes keep it (the window shows it).
//
// HOW TO CALL IT
//   const command_line_answer a = PARSE_COMMAND_LINE(argc, argv);
//   return a.run ? RUN_REQUEST(a.request) : a.status;
//
// ASSUMES AND LIMITS
//   Called once per process.
#pragma once

#include <string>
#include <vector>

#include "driver/run_request.h"

namespace orvex {

// What a mode's stages leave for the end of the run.
struct run_outcome {
    std::string document;     // for standard output, written whole (none when empty)
    std::vector<std::string> more_document;  // written after it, in order (a large document in pieces)
    std::string said;         // one line for standard error after it (none when empty)
    bool show_page = false;   // the page of field page_field: a window, or the PNG
    int page_field = 0;
    int status = 0;           // not 0: the run ends with this status and said as its one line
};

// The stages of each mode, run on the full map once it is made (run_request.h's modes).
void PAGE_STAGES(const run_request& request, run_outcome& out);
void FIGURES_STAGES(const run_request& request, run_outcome& out);
void EXPORT_STAGES(const run_request& request, run_outcome& out);
void MULTIPOLES_STAGES(const run_request& request, run_outcome& out);
void COMPARE_STAGES(const run_request& request, run_outcome& out);
void SLICE_STAGES(const run_request& request, run_outcome& out);
void PROBE_STAGES(const run_request& request, run_outcome& out);
void TRACK_STAGES(const run_request& request, run_outcome& out);

int RUN_REQUEST(const run_request& request);

}  // namespace orvex
