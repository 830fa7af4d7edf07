// model_mirror.h: whether a model's field has the parities a --sym asks the viewer to unfold it by.
//
// WHAT IT IS
//   MODEL_MIRROR_MISMATCH evaluates the recipe's field at every stored node and at each of its
//   mirror images across the mirrored planes (one plane first, then two, then three), and
//   compares the image with what the viewer's unfolding puts there: the stored value, negated
//   for a component odd in an odd number of the planes crossed (field/field_table.h, ODD_AXES,
//   for the recipe's kind). When a component differs by more than tolerance times the field's
//   largest magnitude over the stored nodes, it gives the line that names the largest such
//   difference across the fewest planes (import_mirror.h); "" when the field unfolds to itself.
//   A node on a crossed plane is its own image and is not compared.
//
// HOW TO CALL IT
//   if (const std::string why = MODEL_MIRROR_MISMATCH(recipe, "quadrupole", 1e-6); !why.empty()) refuse
//
// ASSUMES AND LIMITS
//   A recipe with a lattice (an imported table), without mirror flags of 1, or of a kind outside
//   0..2 is not checked (""). Up to eight field evaluations per stored node: about a second for
//   the costliest model with all three planes mirrored.
#pragma once

#include <string>
#include <string_view>

#include "map_writer.h"

namespace orvex::mapgen {

std::string MODEL_MIRROR_MISMATCH(const map_recipe& recipe, std::string_view model_name, double tolerance);

}  // namespace orvex::mapgen
