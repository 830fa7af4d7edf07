// unfold.cpp: the stored half, quadrant or octant of a symmetric map unfolded to the whole region.
//
// A mirrored axis of 25 (or 201) stored nodes becomes 49 (or 401) full nodes: full node p
// (the pivot, 25 or 201) lies on the mirror plane and takes stored node 1; full node i takes
// stored node |i - p| + 1, with the mirror sign -1 below the pivot. A component is negated by
// the sign of every mirrored axis in which it is odd; which components are odd depends on what
// the map carries (field/field_table.h, which the map checks share).
// Arrays a map does not carry are zero and are copied without sign.
//
// The grid is written in memory order, one row along x at a time (UNFOLD_ROW, unfold_rows.cpp,
// which touches no global so that code handed a grid can unfold rows of its own). Nothing is
// allocated and nothing is interpolated.
#include "field/unfold.h"

#include <array>
#include <cstddef>
#include <span>

#include "field/field_grid.h"
#include "field/field_table.h"
#include "field/unfold_rows.h"

namespace orvex {

namespace {

// Unfolds one component into the full array, one row along x at a time.
void UNFOLD_COMPONENT(const field_grid_record& g, const unfold_plan& plan, int c, full_array& dst) {
    const auto row_length = static_cast<std::size_t>(plan.nx);
    for (int k = 1; k <= plan.nz; ++k)
        for (int j = 1; j <= plan.ny; ++j)
            UNFOLD_ROW(g, plan, c, j, k, std::span<double>(dst.data() + FULL_INDEX(1, j, k), row_length));
}

}  // namespace

// Reads field_kind, ksym and the three flags, the stored arrays and the end coordinates; writes
// the counts (0 when no case matches), the full arrays (only when a case matches) and the six
// limits (always, each by its own flag equal to 1, independent of the case).
void UNFOLD_GRID(unfold_scope scope) {
    field_grid_record& g = field_grid;
    const unfold_plan plan = UNFOLD_PLAN(g);
    g.nx = plan.nx;
    g.ny = plan.ny;
    g.nz = plan.nz;
    if (plan.nx != 0) {
        // Both fields, or only the one field_flag selects (the other's full arrays are then
        // never touched: a run pays neither the time nor the memory for what it does not plot).
        const bool one_field = scope == unfold_scope::plotted_triple ||
                               (scope == unfold_scope::both_triples_when_carried && g.field_kind != 2);
        for (const field_entry& f : field_table) {
            if (one_field && &f != &FIELD_ENTRY(g.field_flag)) continue;
            for (int n = 0; n < 3; ++n)
                UNFOLD_COMPONENT(g, plan, f.first_component + n, g.*f.full[static_cast<std::size_t>(n)]);
        }
    }  // else the full arrays keep their contents

    g.xmin = g.xmws.front();
    g.xmax = g.xmws.back();
    if (g.ksym_yz == 1) g.xmin = -g.xmax;
    g.ymin = g.ymws.front();
    g.ymax = g.ymws.back();
    if (g.ksym_xz == 1) g.ymin = -g.ymax;
    g.zmin = g.zmws.front();
    g.zmax = g.zmws.back();
    if (g.ksym_xy == 1) g.zmin = -g.zmax;
    g.unfolded = true;
}

}  // namespace orvex
