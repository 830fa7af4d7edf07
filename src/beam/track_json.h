// track_json.h: what the tracking found, as one JSON document and as a trajectory CSV, the same
// for the command line and the window.
//
// WHAT IT IS
//   {"program", "map": {file, carries, nodes, limits_cm},
//    "request": {particle {name, rest_energy_MeV, charge_e}, energy_MeV, frequency_MHz,
//                phase_deg or scan, start_cm [x, y], slope_mrad [x', y'], matrix},
//    "rf_clock": {origin_z_cm, convention} (with a frequency),
//    "integrator": {method, steps, halving {gain_change_MeV, gain_change_relative,
//                   slope_change_mrad}},
//    "tracks": [per phase (one without a scan): phase_deg (with a frequency), lost, and
//               gain_MeV, exit {W_MeV, x_cm, y_cm, xp_mrad, yp_mrad}, time_of_flight_ns; or for
//               a lost particle reason and where {z_cm, x_cm, y_cm, W_MeV} (its last point
//               inside the map)],
//    "crest": {phase_deg, refined, gain_MeV, exit} (with a scan),
//    "matrix": {about_phase_deg, coordinates, offsets {x_mm, xp_mrad, y_mm, yp_mrad},
//               R (4 rows), focal_length_x_m, focal_length_y_m} (with --matrix),
//    "notes": [...]}
//   Numbers as every document of the program writes them (field/json_text.h); a figure that is
//   absent is an absent key. The CSV: header z,x,y,xp,yp,W,t, then # lines (the map, the
//   particle, the units), then one row per step (console/csv_text.h, 17 significant digits).
//
// HOW TO CALL IT
//   track_document doc{program, map_file, &map, &request};  doc.tracks = ...;
//   const std::string text = TRACK_JSON(doc);
//   const std::string csv = TRAJECTORY_CSV(path, map_file, request);
//
// ASSUMES AND LIMITS
//   Reads only what it is handed (the window calls it). Phases and tracks have the same length.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "beam/phase_scan.h"

namespace orvex {

struct track_document {
    std::string_view program;
    std::string_view map_file;
    const full_map* map = nullptr;
    const track_request* request = nullptr;
    std::optional<int> scan;                  // --scan N
    bool matrix_asked = false;
    std::span<const double> phases_deg;       // with a frequency, one per track
    std::span<const track_result> tracks;
    const crest_figures* crest = nullptr;
    const transfer_matrix* matrix = nullptr;  // null when asked for but lost
    std::optional<double> matrix_phase_deg;   // the phase the matrix is about
    const track_result* checked = nullptr;    // the track the halving check is about
    const halving_check* halving = nullptr;
    std::span<const std::string_view> notes;
};

std::string TRACK_JSON(const track_document& doc);

std::string TRAJECTORY_CSV(std::span<const track_point> path, std::string_view map_file, const track_request& request);

}  // namespace orvex
