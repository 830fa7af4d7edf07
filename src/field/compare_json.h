// compare_json.h: a comparison of two maps as one JSON document, and the figures it pairs.
//
// WHAT IT IS
//   {"program",
//    "this": {map object: file, kind, carries, mirror_flags, nodes, limits_cm, steps_cm},
//    "other": {the same, and "directory"},
//    "reading": {"rule": "nodes" or "cubic", "grids_coincide", "axes": {"x": "nodes" or
//               "cubic", "y", "z"}, "nodes", "compared_nodes", "left_out_nodes"},
//    "fields": [one object per field both carry: "field", "unit", "largest_magnitude" (the
//               largest |F| of this map), and per component ("Ex" ...): "largest_difference"
//               {"value" (largest |this - other|), "relative" (over largest_magnitude),
//               "node" [i, j, k], "position_cm" [x, y, z], "this", "other"},
//               "rms_difference" {"value", "relative"}, "nodes", "not_finite_nodes"],
//    "figures": [one object per figure of either map: "figure" (its name, FIGURE_LIST),
//               "unit", "this", "other", "difference" (this - other)],
//    "notes": [...]}
//   A figure absent from a map is an absent key, never null or NaN: a "difference" needs both.
//   Numbers are written as the figures' document writes them (17 significant digits).
//   FIGURE_LIST names every figure of one field as the figures' document keys it:
//   "electric.line3.Ez.max.value", "electric.line3.Ez.integral", "electric.axis.V0_V",
//   "magnetic.axis.effective_length_cm", "electric.axis.gradient.largest",
//   "magnetic.divergence.D" (figures.h defines them).
//
// HOW TO CALL IT
//   comparison_document doc{program, this_file, other_file, other_dir, &pairing, differences,
//                           this_figures, other_figures, notes};
//   std::string text = COMPARISON_JSON(doc);
//
// ASSUMES AND LIMITS
//   Reads only what it is handed. The text ends with a line end.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "field/compare.h"
#include "field/figures.h"

namespace orvex {

struct named_figure {
    std::string name;       // "electric.line3.Ez.integral"
    std::string_view unit;  // "V"; "1" for a ratio
    double value = 0.0;
};

// Every figure of one field that is there and finite, in the order of the figures' document.
std::vector<named_figure> FIGURE_LIST(const field_figures& f);

struct comparison_document {
    std::string_view program;
    std::string_view this_file, other_file, other_directory;
    const map_pairing* pairing = nullptr;  // its maps are this map and the other
    std::span<const field_difference> fields;
    std::span<const field_figures> this_figures, other_figures;
    std::span<const std::string_view> notes;
};

std::string COMPARISON_JSON(const comparison_document& doc);

}  // namespace orvex
