// unfold.h: the stored half, quadrant or octant unfolded to the whole region.
#pragma once

#include <string_view>

namespace orvex {

inline constexpr std::string_view msg_no_unfolding_case = " Field kind and symmetry flags match no unfolding case ";

// Builds the full grid of field_grid (counts, six full arrays) from the stored lattice with the
// mirror signs of field_kind, and sets the six limits. When field_kind and the flags match no
// case, the counts stay 0 (the limits are still set).
void UNFOLD_GRID();

}  // namespace orvex
