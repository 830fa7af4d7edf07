// unfold.h: the stored half, quadrant or octant unfolded to the whole region: the full map.
//
// WHAT IT IS
//   UNFOLD_GRID makes field_grid.full (full_map.h) from the stored lattice: it chooses the
//   mirrored axes from field_kind (2, 1, 0) and ksym with the flags (UNFOLD_PLAN,
//   unfold_rows.h), sets the counts (49 across, 401 along z, for a mirrored axis), the six
//   limits (each by its own flag equal to 1, also when no case matches), the steps and the
//   coordinate of every node, and keeps the flags and the kind. A field's full arrays take
//   stored node |i - pivot| + 1 for full node i of a mirrored axis, a component negated below
//   the pivot of every mirrored axis in which it is odd (field_table.h); they are filled now,
//   or the first time the field is asked for (full_map.h).
//
// HOW TO CALL IT
//   After LIST_FIELD_HEADER (which sets ksym):
//     UNFOLD_GRID(fields_unfolded::on_request); if (field_grid.full.nx == 0) stop;
//   UNFOLD_GRID() fills both fields at once.
//
// ASSUMES AND LIMITS
//   When field_kind and the flags match no case the counts stay 0 and no field is unfolded.
//   Nothing is allocated and nothing interpolated; the pivot node is copied as stored, an odd
//   component is not forced to zero there.
#pragma once

#include <string_view>

namespace orvex {

struct field_grid_record;

inline constexpr std::string_view msg_no_unfolding_case = " Field kind and symmetry flags match no unfolding case ";

// Whether UNFOLD_GRID fills the fields' arrays at once or each on its first request.
enum class fields_unfolded { now, on_request };

// Makes field_grid.full from the stored lattice of field_grid.
void UNFOLD_GRID(fields_unfolded when = fields_unfolded::now);
// Makes g.full from the stored lattice of g (a record of its own: the other map of a comparison).
void UNFOLD_GRID(field_grid_record& g, fields_unfolded when);

}  // namespace orvex
