// multipoles_run.cpp: plot_orvex_3dfields --multipoles [--radius CM]: the harmonics of line 5's
// field on every z plane of the full map as CSV on standard output instead of a page
// (field/multipoles.h): z, n, Re C_n, Im C_n, b_n, a_n. What the fit leaves unsaid (fewer
// harmonics, a disc beyond the map) joins the map's notes; a disc with fewer than 2 nodes stops
// the run, as there is nothing to write.
#include <string>
#include <vector>

#include "console/number_text.h"
#include "console/run_stop.h"
#include "driver/control_file.h"
#include "driver/run_modes.h"
#include "field/field_grid.h"
#include "field/map_checks.h"
#include "field/multipoles.h"

namespace orvex {

void MULTIPOLES_STAGES(const run_request& request, run_outcome& out) {
    const full_map& m = field_grid.full;
    const int field = field_grid.field_flag == 1 ? 1 : 0;
    const multipole_planes planes = MULTIPOLE_PLANES(m, field, REFERENCE_RADIUS(m, request.radius_cm));
    if (planes.order == 0)
        RUN_FAILURE("the reference disc (r = " + NUMBER_G(planes.r_ref, 6) + " cm) holds " + std::to_string(planes.nodes) +
                    (planes.nodes == 1 ? " node" : " nodes") + " of each z plane: the multipoles need 2 at least; give a larger --radius");
    const multipole_figures figures = MULTIPOLE_FIGURES(m, planes);
    const std::vector<std::string> notes = MULTIPOLE_NOTES(m, figures);
    for (const std::string& note : notes) ADD_MAP_NOTE(note);
    out.document = MULTIPOLES_CSV(planes, figures, FIELD_FILE_NAME(), notes);
}

}  // namespace orvex
