// figures_json.h: the figures of a map as one JSON document, the same for the command line
// and the window.
//
// WHAT IT IS
//   {"program", "map": {file, kind, carries, mirror flags, nodes, limits_cm, steps_cm},
//    "request": {frequency_MHz, beta, radius_cm} (only what was given),
//    "fields": [one object per field: field, components, units, "lines" (ten objects: line,
//    axis, title, fixed_nodes, nodes, and per component min and max {value, node, position_cm}
//    and integral), "axis" (V0_V, at_beta, best_beta {beta, q_per_cm, gain_V,
//    crest_phase_deg, T, T_single_gap}; or Bz_integral_Gs_cm, Bz2_integral_Gs2_cm,
//    effective_length_cm, hard_edge_field_Gs; gradient), "divergence" (D, node, position_cm,
//    largest_sum, largest_terms, nodes, R, largest_error, error_axis, verdict: consistent,
//    too_coarse or suspect),
//    "multipoles" (r_ref_cm, N, disc_nodes, units, main, roll_mrad, centre_cm, quadrupole
//    {middle_node, z_middle_cm, G_middle, G_integral, magnetic_length_cm}, harmonics [{n,
//    Re_C, Im_C, b, a}])],
//    "curl" (with a frequency, a map that carries both fields: C, node, position_cm,
//    largest_difference_V_per_cm2, largest_terms_V_per_cm2, k, nodes),
//    "notes": [...]}
//   The man page gives every key with its definition and unit. A figure that is absent
//   (figures.h) is an absent key, never null or NaN. Every number that is not a count or an
//   index is written with 17 significant digits (as "%.17g" writes it), so it reads back as the same double;
//   counts and indices are integers. Texts are valid UTF-8: a byte that is no UTF-8 (a Latin-1
//   map name) is written as the four characters \xNN, every control character (C1 and DEL
//   too) as \u00XX.
//
// HOW TO CALL IT
//   figures_document doc{"plot_orvex_3dfields 1.0.0", file_name, &map, request, fields, notes};
//   std::fputs(FIGURES_JSON(doc).c_str(), stdout);
//
// ASSUMES AND LIMITS
//   Reads only what it is handed (the window calls it). The text ends with a line end.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "field/figures.h"

namespace orvex {

struct figures_document {
    std::string_view program;
    std::string_view map_file;
    const full_map* map = nullptr;
    figure_request request;
    std::span<const field_figures> fields;
    std::span<const std::string_view> notes;
    const curl_figures* curl = nullptr;  // the curl check, when there is one
};

std::string FIGURES_JSON(const figures_document& doc);

}  // namespace orvex
