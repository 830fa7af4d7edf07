// tracking_run.h: one request of the tracking carried out whole, as the command line and the
// window both carry it out.
//
// WHAT IT IS
//   RUN_TRACKING tracks the particle at its phase (or statically), or scans N phases and finds
//   the crest; the track the result is about (the one phase, or the crest) is tracked again
//   with every step halved (HALVING_CHECK) and, when asked, its transfer matrix is taken; its
//   trajectory is kept step by step. A halving that changes the gain by more than 1e-9 of it
//   or the exit slopes by more than 1e-9 mrad gives a note ("halving the tracking's steps
//   changes the gain by 2e-12 MeV and the exit slopes by 3e-09 mrad: the track is not
//   converged to 1e-9"). TRACKING_DOCUMENT points a track_document (track_json.h) at it.
//
// HOW TO CALL IT
//   const tracking_outcome o = RUN_TRACKING(map, request, scan, matrix);
//   track_document doc = TRACKING_DOCUMENT(o, program, map_file, map, notes);  // notes: the
//   map's, then o.notes
//   const std::string text = TRACK_JSON(doc);
//
// ASSUMES AND LIMITS
//   The request passed TRACK_REFUSAL; a scan needs a frequency. The document points into the
//   outcome: keep the outcome while the document is used.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "beam/track_json.h"

namespace orvex {

struct tracking_outcome {
    track_request request;
    std::optional<int> scan;
    bool matrix_asked = false;
    std::vector<double> phases_deg;        // one per track, with a frequency
    std::vector<track_result> tracks;
    std::optional<crest_figures> crest;
    std::optional<track_result> about;     // the one track, or the crest's
    std::optional<double> about_phase_deg; // its phase, with a frequency
    std::optional<halving_check> halving;
    std::optional<transfer_matrix> matrix;
    std::vector<track_point> trajectory;   // of the track it is about
    std::vector<std::string> notes;
};

tracking_outcome RUN_TRACKING(const full_map& map, const track_request& request, std::optional<int> scan, bool matrix);

track_document TRACKING_DOCUMENT(const tracking_outcome& o, std::string_view program, std::string_view map_file,
                                 const full_map& map, std::span<const std::string_view> notes);

}  // namespace orvex
