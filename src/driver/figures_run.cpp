// figures_run.cpp: plot_orvex_3dfields --figures [--frequency MHZ] [--beta B]: the map's figures
// as one JSON document on standard output instead of a page (field/figures_json.h): both fields
// of a map that carries both, else the one line 5 chooses, and with a frequency the curl check
// of a map that carries both; the divergence and curl notes join the map's.
#include <string>

#include "driver/control_file.h"
#include "driver/run_modes.h"
#include "field/field_grid.h"
#include "field/figures_json.h"
#include "field/map_checks.h"

namespace orvex {

void FIGURES_STAGES(const run_request& request, run_outcome& out) {
    figure_request asked;
    asked.frequency_mhz = request.frequency_mhz;
    asked.beta = request.beta;
    asked.radius_cm = request.radius_cm;
    const full_map& m = field_grid.full;
    const map_figures figures = MAP_FIGURES(m, asked, field_grid.field_flag);
    for (const std::string& note : figures.notes) ADD_MAP_NOTE(note);
    const std::string program = PROGRAM_AND_VERSION();
    out.document = FIGURES_JSON({program, FIELD_FILE_NAME(), &m, asked, figures.fields, MAP_NOTES(),
                                 figures.curl ? &*figures.curl : nullptr});
}

}  // namespace orvex
