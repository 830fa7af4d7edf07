// unfold.cpp: the stored half, quadrant or octant of a symmetric map unfolded to the whole region.
//
// A mirrored axis of 25 (or 201) stored nodes becomes 49 (or 401) full nodes: full node p
// (the pivot, 25 or 201) lies on the mirror plane and takes stored node 1; full node i takes
// stored node |i - p| + 1, with the mirror sign -1 below the pivot. A component is negated by
// the sign of every mirrored axis in which it is odd; which components are odd depends on what
// the map carries (field/field_table.h, which the map checks share).
// Arrays a map does not carry are zero and are copied without sign.
//
// The grid is written in memory order, one row along x at a time: for a fixed (j, k) the y and
// z signs are constant, so each row is at most two runs (below and from the pivot) of stored
// values times one constant factor. Nothing is allocated and nothing is interpolated.
#include "field/unfold.h"

#include <array>
#include <cstddef>

#include "field/field_grid.h"
#include "field/field_table.h"

namespace orvex {

namespace {

// The axes a case mirrors.
struct mirror_case {
    bool x = false, y = false, z = false;
};

// Chooses the mirrored axes from the field kind, the flag sum and the flags. The flags are not
// checked to be 0 or 1: the tests below are the whole rule, so for instance flags 2, 0, 0
// (sum 2, ksym_xz = 0) mirror x and z. Returns false when nothing matches.
bool SELECT_CASE(const field_grid_record& g, mirror_case& mc) {
    if (g.field_kind != 2 && g.field_kind != 1 && g.field_kind != 0) return false;
    mc = {};
    switch (g.ksym) {
        case 0: return true;
        case 1:
            if (g.ksym_yz == 1) mc.x = true;
            else if (g.ksym_xz == 1) mc.y = true;
            else if (g.ksym_xy == 1) mc.z = true;
            else return false;
            return true;
        case 2:
            if (g.ksym_yz == 0) mc.y = mc.z = true;
            else if (g.ksym_xz == 0) mc.x = mc.z = true;
            else if (g.ksym_xy == 0) mc.x = mc.y = true;
            else return false;
            return true;
        case 3: mc.x = mc.y = mc.z = true; return true;
        default: return false;
    }
}

// Stored node (1-based) of full node n on an axis with pivot p, and whether n lies below the
// pivot. An unmirrored axis maps n to itself.
struct axis_node {
    int stored;
    bool below;
};
constexpr axis_node AXIS_NODE(bool mirrored, int n, int pivot) {
    if (!mirrored) return {n, false};
    return {n < pivot ? pivot - n + 1 : n - pivot + 1, n < pivot};
}

// Unfolds one component: dst(i, j, k) = sign(i, j, k) * src(is, js, ks) over 25 or 49 nodes
// across (as mc.x says), ny and nz; the sign is the product of the mirror signs of the axes in
// odd (only mirrored ones count). Assumes the counts fit the capacities.
void UNFOLD_COMPONENT(const stored_array& src, full_array& dst, unsigned odd, const mirror_case& mc, int ny,
                      int nz) {
    const bool flip_x = mc.x && (odd & odd_x) != 0;
    const bool flip_y = mc.y && (odd & odd_y) != 0;
    const bool flip_z = mc.z && (odd & odd_z) != 0;
    const double* s = src.data();
    double* d = dst.data();
    for (int k = 1; k <= nz; ++k) {
        const axis_node kn = AXIS_NODE(mc.z, k, stored_nz);
        for (int j = 1; j <= ny; ++j) {
            const axis_node jn = AXIS_NODE(mc.y, j, stored_ny);
            const bool negate_yz = (flip_y && jn.below) != (flip_z && kn.below);
            const double upper = negate_yz ? -1.0 : 1.0;  // factor from the pivot up (or whole row)
            const double lower = flip_x ? -upper : upper;  // factor below the x pivot
            const double* row = s + STORED_INDEX(1, jn.stored, kn.stored);
            double* out = d + FULL_INDEX(1, j, k);
            if (mc.x) {
                // Full nodes 1..24 take stored nodes 25..2, full nodes 25..49 stored nodes 1..25.
                for (int i = 0; i < stored_nx - 1; ++i) out[i] = lower * row[stored_nx - 1 - i];
                double* out_upper = out + (stored_nx - 1);
                for (int i = 0; i < stored_nx; ++i) out_upper[i] = upper * row[i];
            } else {
                for (int i = 0; i < stored_nx; ++i) out[i] = upper * row[i];
            }
        }
    }
}

}  // namespace

// Reads field_kind, ksym and the three flags, the stored arrays and the end coordinates; writes
// the counts (0 when no case matches), the full arrays (only when a case matches) and the six limits (always, each by
// its own flag equal to 1, independent of the case).
void UNFOLD_GRID(unfold_scope scope) {
    field_grid_record& g = field_grid;
    mirror_case mc;
    if (SELECT_CASE(g, mc)) {
        g.nx = mc.x ? 2 * stored_nx - 1 : stored_nx;
        g.ny = mc.y ? 2 * stored_ny - 1 : stored_ny;
        g.nz = mc.z ? 2 * stored_nz - 1 : stored_nz;
        // Both fields, or only the one field_flag selects (the other's full arrays are then
        // never touched: a run pays neither the time nor the memory for what it does not plot).
        const bool one_field = scope == unfold_scope::plotted_triple ||
                               (scope == unfold_scope::both_triples_when_carried && g.field_kind != 2);
        for (const field_entry& f : field_table) {
            if (one_field && &f != &FIELD_ENTRY(g.field_flag)) continue;
            for (std::size_t n = 0; n < 3; ++n)
                UNFOLD_COMPONENT(g.*f.stored[n], g.*f.full[n],
                                 ODD_AXES(g.field_kind, f.first_component + static_cast<int>(n)), mc, g.ny, g.nz);
        }
    } else {
        g.nx = g.ny = g.nz = 0;  // the full arrays keep their contents
    }

    g.xmin = g.xmws.front();
    g.xmax = g.xmws.back();
    if (g.ksym_yz == 1) g.xmin = -g.xmax;
    g.ymin = g.ymws.front();
    g.ymax = g.ymws.back();
    if (g.ksym_xz == 1) g.ymin = -g.ymax;
    g.zmin = g.zmws.front();
    g.zmax = g.zmws.back();
    if (g.ksym_xy == 1) g.zmin = -g.zmax;
}

}  // namespace orvex
