// track_run.cpp: plot_orvex_3dfields --track --energy MEV [--particle P] [--frequency MHZ]
// [--phase DEG | --scan N] [--start X,Y] [--slope XP,YP] [--matrix]: a particle tracked through
// the full map (beam/), as one JSON document on standard output instead of a page
// (beam/track_json.h). The track the document is about (the one phase, or the crest of a scan)
// is tracked again with every step halved; a change of its gain above 1e-9 of it or of its
// slopes above 1e-9 mrad is a note. A start outside the map's transverse region stops the run.
#include <cmath>
#include <string>
#include <vector>

#include "beam/track_json.h"
#include "console/number_text.h"
#include "console/run_stop.h"
#include "driver/control_file.h"
#include "driver/run_modes.h"
#include "field/field_grid.h"
#include "field/map_checks.h"

namespace orvex {

namespace {

constexpr double converged_relative = 1e-9, converged_slope_mrad = 1e-9;

track_request REQUEST_OF(const run_request& asked) {
    track_request r;
    r.who = *PARTICLE_NAMED(asked.particle);  // checked when the command line was parsed
    r.energy_mev = *asked.energy_mev;
    r.frequency_mhz = asked.frequency_mhz;
    r.phase_deg = asked.phase_deg.value_or(0.0);
    r.x_cm = asked.start_x, r.y_cm = asked.start_y;
    r.xp_mrad = asked.slope_x, r.yp_mrad = asked.slope_y;
    return r;
}

}  // namespace

void TRACK_STAGES(const run_request& asked, run_outcome& out) {
    const full_map& m = field_grid.full;
    const track_request r = REQUEST_OF(asked);
    if (const std::string why = TRACK_REFUSAL(m, r); !why.empty()) RUN_FAILURE("cannot track: " + why);

    track_document doc{};
    const std::string program = PROGRAM_AND_VERSION();
    doc.program = program;
    doc.map_file = FIELD_FILE_NAME();
    doc.map = &m;
    doc.request = &r;
    doc.scan = asked.scan;
    doc.matrix_asked = asked.matrix;

    phase_scan scan;
    std::vector<double> one_phase;
    track_result one;
    const track_result* about = nullptr;  // the track the check and the matrix are about
    track_request about_request = r;
    if (asked.scan) {
        scan = PHASE_SCAN(m, r, *asked.scan);
        doc.phases_deg = scan.phases_deg;
        doc.tracks = scan.tracks;
        if (scan.crest) {
            doc.crest = &*scan.crest;
            about = &scan.crest->track;
            about_request.phase_deg = scan.crest->phase_deg;
        }
    } else {
        one = TRACK(m, r);
        if (r.frequency_mhz) one_phase.push_back(r.phase_deg);
        doc.phases_deg = one_phase;
        doc.tracks = {&one, 1};
        about = &one;
    }

    std::optional<halving_check> halving;
    if (about != nullptr) halving = HALVING_CHECK(m, about_request, *about);
    if (halving) {
        doc.checked = about;
        doc.halving = &*halving;
        const bool gain_off = halving->gain_change_mev > converged_relative * std::fabs(about->gain_mev);
        if (gain_off || halving->slope_change_mrad > converged_slope_mrad)
            ADD_MAP_NOTE("halving the tracking's steps changes the gain by " + NUMBER_G(halving->gain_change_mev, 3) +
                         " MeV and the exit slopes by " + NUMBER_G(halving->slope_change_mrad, 3) +
                         " mrad: the track is not converged to 1e-9");
    }
    std::optional<transfer_matrix> matrix;
    if (asked.matrix && about != nullptr) {
        matrix = TRANSFER_MATRIX(m, about_request, *about);
        if (matrix) doc.matrix = &*matrix;
        if (r.frequency_mhz) doc.matrix_phase_deg = about_request.phase_deg;
    }
    doc.notes = MAP_NOTES();
    out.document = TRACK_JSON(doc);
}

}  // namespace orvex
