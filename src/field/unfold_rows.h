// unfold_rows.h: the unfolding rule, one row at a time, on a grid the caller only reads.
//
// WHAT IT IS
//   UNFOLD_PLAN says which axes a grid's field_kind and flags mirror and the full grid's counts
//   (the case selection of UNFOLD_GRID); UNFOLD_ROW fills one full row along x of one component
//   from the stored lattice, with the mirror signs of the grid's field_kind. UNFOLD_GRID fills
//   the run's full arrays with it; an exporter or the window, handed a grid whose run unfolded
//   only the plotted triple, unfolds any component itself.
//
// HOW TO CALL IT
//   const unfold_plan plan = UNFOLD_PLAN(grid);           // plan.nx == 0: no case matches
//   std::vector<double> row(plan.nx);
//   for (k..., j...) UNFOLD_ROW(grid, plan, c, j, k, row);  // c: 0..5 Ex Ey Ez Bx By Bz
//
// ASSUMES AND LIMITS
//   Reads only field_kind, ksym, the three flags and the stored arrays; writes nothing but out,
//   and touches no global record. The pivot node is copied as stored.
#pragma once

#include <span>

#include "field/field_grid.h"

namespace orvex {

// The axes a grid's field_kind and flags mirror, and the full grid's counts (all 0 when they
// match no case). Reads only field_kind, ksym and the three flags.
struct unfold_plan {
    bool x = false, y = false, z = false;
    int nx = 0, ny = 0, nz = 0;
};
unfold_plan UNFOLD_PLAN(const field_grid_record& grid);

// Full row (j, k), 1-based, of component c (0..5: Ex Ey Ez Bx By Bz) into out[0..plan.nx-1],
// from the stored lattice with the mirror signs of grid.field_kind. The plan must be the
// grid's and match a case; out must hold plan.nx values.
void UNFOLD_ROW(const field_grid_record& grid, const unfold_plan& plan, int c, int j, int k, std::span<double> out);

}  // namespace orvex
