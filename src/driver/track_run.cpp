// track_run.cpp: plot_orvex_3dfields --track --energy MEV [--particle P] [--frequency MHZ]
// [--phase DEG | --scan N] [--start X,Y] [--slope XP,YP] [--matrix]: a particle tracked through
// the full map (beam/tracking_run.h), as one JSON document on standard output instead of a page
// (beam/track_json.h). The halving check's note joins the map's notes. A start outside the
// map's transverse region stops the run with one line.
#include <string>

#include "beam/tracking_run.h"
#include "console/run_stop.h"
#include "driver/control_file.h"
#include "driver/run_modes.h"
#include "field/field_grid.h"
#include "field/map_checks.h"

namespace orvex {

void TRACK_STAGES(const run_request& asked, run_outcome& out) {
    const full_map& m = field_grid.full;
    track_request r;
    r.who = *PARTICLE_NAMED(asked.particle);  // checked when the command line was parsed
    r.energy_mev = *asked.energy_mev;
    r.frequency_mhz = asked.frequency_mhz;
    r.phase_deg = asked.phase_deg.value_or(0.0);
    r.x_cm = asked.start_x, r.y_cm = asked.start_y;
    r.xp_mrad = asked.slope_x, r.yp_mrad = asked.slope_y;
    if (const std::string why = TRACK_REFUSAL(m, r); !why.empty()) RUN_FAILURE("cannot track: " + why);

    const tracking_outcome o = RUN_TRACKING(m, r, asked.scan, asked.matrix);
    for (const std::string& note : o.notes) ADD_MAP_NOTE(note);
    const std::string program = PROGRAM_AND_VERSION();
    out.document = TRACK_JSON(TRACKING_DOCUMENT(o, program, FIELD_FILE_NAME(), m, MAP_NOTES()));
}

}  // namespace orvex
