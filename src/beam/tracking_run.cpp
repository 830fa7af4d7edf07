// tracking_run.cpp: one request of the tracking carried out whole; see tracking_run.h.
#include "beam/tracking_run.h"

#include <cmath>

#include "console/number_text.h"

namespace orvex {

namespace {

constexpr double converged_relative = 1e-9, converged_slope_mrad = 1e-9;

}  // namespace

tracking_outcome RUN_TRACKING(const full_map& m, const track_request& r, std::optional<int> scan, bool matrix) {
    tracking_outcome o;
    o.request = r;
    o.scan = scan;
    o.matrix_asked = matrix;
    track_request about_request = r;
    if (scan) {
        phase_scan s = PHASE_SCAN(m, r, *scan);
        o.phases_deg = std::move(s.phases_deg);
        o.tracks = std::move(s.tracks);
        o.crest = std::move(s.crest);
        if (o.crest) {
            o.about = o.crest->track;
            about_request.phase_deg = o.crest->phase_deg;
        }
    } else {
        o.tracks.push_back(TRACK(m, r));
        if (r.frequency_mhz) o.phases_deg.push_back(r.phase_deg);
        o.about = o.tracks.front();
    }
    if (!o.about) return o;
    if (r.frequency_mhz) o.about_phase_deg = about_request.phase_deg;

    // The trajectory of the same particle, step by step: its steps and (to its tolerance) its
    // entry time, which the search for the entry time accepts at once.
    track_options follow;
    follow.plan = &o.about->plan;
    follow.entry_time_guess_ns = o.about->entry_clock_ns;
    follow.trajectory = &o.trajectory;
    TRACK(m, about_request, follow);

    o.halving = HALVING_CHECK(m, about_request, *o.about);
    if (o.halving && (o.halving->gain_change_mev > converged_relative * std::fabs(o.about->gain_mev) ||
                      o.halving->slope_change_mrad > converged_slope_mrad))
        o.notes.push_back("halving the tracking's steps changes the gain by " + NUMBER_G(o.halving->gain_change_mev, 3) +
                          " MeV and the exit slopes by " + NUMBER_G(o.halving->slope_change_mrad, 3) +
                          " mrad: the track is not converged to 1e-9");
    if (matrix) o.matrix = TRANSFER_MATRIX(m, about_request, *o.about);
    return o;
}

track_document TRACKING_DOCUMENT(const tracking_outcome& o, std::string_view program, std::string_view map_file,
                                 const full_map& map, std::span<const std::string_view> notes) {
    track_document doc{};
    doc.program = program;
    doc.map_file = map_file;
    doc.map = &map;
    doc.request = &o.request;
    doc.scan = o.scan;
    doc.matrix_asked = o.matrix_asked;
    doc.phases_deg = o.phases_deg;
    doc.tracks = o.tracks;
    if (o.crest) doc.crest = &*o.crest;
    if (o.matrix) doc.matrix = &*o.matrix;
    doc.matrix_phase_deg = o.about_phase_deg;
    if (o.about && o.halving) {
        doc.checked = &*o.about;
        doc.halving = &*o.halving;
    }
    doc.notes = notes;
    return doc;
}

}  // namespace orvex
