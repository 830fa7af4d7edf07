// unfold.h: the stored half, quadrant or octant unfolded to the whole region.
//
// WHAT IT IS
//   UNFOLD_GRID chooses the mirrored axes from field_kind (2, 1, 0) and ksym with the flags,
//   sets the full grid's counts (49 across, 401 along z, for a mirrored axis) and fills the six
//   full arrays: full node i of a mirrored axis takes stored node |i - pivot| + 1, and a
//   component is negated below the pivot of every mirrored axis in which it is odd. It always
//   sets the six limits, each by its own flag equal to 1.
//
// HOW TO CALL IT
//   After LIST_FIELD_HEADER (which sets ksym): UNFOLD_GRID(); if (field_grid.nx == 0) stop.
//   A run unfolds only what it plots: UNFOLD_GRID(unfold_scope::plotted_triple).
//   Code that holds a grid it must not write unfolds rows itself: field/unfold_rows.h.
//
// ASSUMES AND LIMITS
//   When field_kind and the flags match no case the counts stay 0 and the full arrays keep
//   their contents. Nothing is allocated and nothing interpolated; the pivot node is copied as
//   stored, an odd component is not forced to zero there.
#pragma once

#include <string_view>

namespace orvex {

inline constexpr std::string_view msg_no_unfolding_case = " Field kind and symmetry flags match no unfolding case ";

// Which full arrays UNFOLD_GRID fills: all six, or only the triple field_flag selects (the one a
// run plots, reads off the page and exports); the other triple's full arrays are then left as
// they are, untouched.
// both_triples_when_carried: all six for a map that carries both fields (kind 2), else the
// plotted triple.
enum class unfold_scope { both_triples, plotted_triple, both_triples_when_carried };

// Builds the full grid of field_grid (counts, full arrays) from the stored lattice with the
// mirror signs of field_kind, and sets the six limits. When field_kind and the flags match no
// case, the counts stay 0 (the limits are still set).
void UNFOLD_GRID(unfold_scope scope = unfold_scope::both_triples);

}  // namespace orvex
