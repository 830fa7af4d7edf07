// unfold.cpp: the full map made from the stored lattice, and its fields unfolded on request.
//
// A mirrored axis of 25 (or 201) stored nodes becomes 49 (or 401) full nodes: full node p
// (the pivot, 25 or 201) lies on the mirror plane and takes stored node 1; full node i takes
// stored node |i - p| + 1, with the mirror sign -1 below the pivot. A component is negated by
// the sign of every mirrored axis in which it is odd; which components are odd depends on what
// the map carries (field/field_table.h, which the map checks share). A field the map does not
// carry has zero stored arrays and unfolds to zero.
//
// The fields' arrays are unfolded by FIELD_TRIPLE (full_map.cpp), which touches no global
// record, so the window module can ask for a field of the map it is handed.
#include "field/unfold.h"

#include <cmath>
#include <cstddef>
#include <span>

#include "field/field_grid.h"
#include "field/field_table.h"
#include "field/unfold_rows.h"

namespace orvex {

namespace {

// Fills the coordinates of one axis by the page's rule: node n at (n - 1) * step + lo, and a
// node within 1e-9 of a step of 0 at exactly 0.
void PLACE_NODES(int count, double lo, double step, std::span<double> coordinate) {
    for (int n = 1; n <= count; ++n) {
        const double at = static_cast<double>(n - 1) * step + lo;
        coordinate[static_cast<std::size_t>(n - 1)] = std::fabs(at) < 1e-9 * std::fabs(step) ? 0.0 : at;
    }
}

}  // namespace

// Reads field_kind, ksym and the three flags, the stored arrays and the end coordinates.
void UNFOLD_GRID(fields_unfolded when) { UNFOLD_GRID(field_grid, when); }

void UNFOLD_GRID(field_grid_record& g, fields_unfolded when) {
    full_map& m = g.full;
    const unfold_plan plan = UNFOLD_PLAN(g);
    m.complete = false;
    m.held[0] = m.held[1] = false;
    m.stored = &g;
    m.nx = plan.nx;
    m.ny = plan.ny;
    m.nz = plan.nz;
    m.mirrored_x = plan.x;
    m.mirrored_y = plan.y;
    m.mirrored_z = plan.z;
    m.ksym_yz = g.ksym_yz;
    m.ksym_xz = g.ksym_xz;
    m.ksym_xy = g.ksym_xy;
    m.field_kind = g.field_kind;

    m.xmin = g.xmws.front();
    m.xmax = g.xmws.back();
    if (g.ksym_yz == 1) m.xmin = -m.xmax;
    m.ymin = g.ymws.front();
    m.ymax = g.ymws.back();
    if (g.ksym_xz == 1) m.ymin = -m.ymax;
    m.zmin = g.zmws.front();
    m.zmax = g.zmws.back();
    if (g.ksym_xy == 1) m.zmin = -m.zmax;
    // With counts 0 (no unfolding case) each step is the span divided by -1: finite, and no node
    // is ever placed with it.
    m.dx = (m.xmax - m.xmin) / static_cast<double>(m.nx - 1);
    m.dy = (m.ymax - m.ymin) / static_cast<double>(m.ny - 1);
    m.dz = (m.zmax - m.zmin) / static_cast<double>(m.nz - 1);
    PLACE_NODES(m.nx, m.xmin, m.dx, m.x);
    PLACE_NODES(m.ny, m.ymin, m.dy, m.y);
    PLACE_NODES(m.nz, m.zmin, m.dz, m.z);
    m.complete = true;
    if (when == fields_unfolded::now && m.nx != 0) {
        FIELD_TRIPLE(m, 0);
        FIELD_TRIPLE(m, 1);
    }
}

}  // namespace orvex
