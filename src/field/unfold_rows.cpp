// unfold_rows.cpp: which axes a grid mirrors, and one full row of a component from the stored
// lattice. Touches no global record: the run's UNFOLD_GRID and code that is handed a grid (the
// exporters, the window) share it.
#include "field/unfold_rows.h"

#include <array>
#include <cstddef>

#include "field/field_table.h"

namespace orvex {

namespace {

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

}  // namespace

// Chooses the mirrored axes from the field kind, the flag sum and the flags. The flags are not
// checked to be 0 or 1: the tests below are the whole rule, so for instance flags 2, 0, 0
// (sum 2, ksym_xz = 0) mirror x and z.
unfold_plan UNFOLD_PLAN(const field_grid_record& g) {
    unfold_plan p;
    if (g.field_kind != 2 && g.field_kind != 1 && g.field_kind != 0) return p;
    switch (g.ksym) {
        case 0: break;
        case 1:
            if (g.ksym_yz == 1) p.x = true;
            else if (g.ksym_xz == 1) p.y = true;
            else if (g.ksym_xy == 1) p.z = true;
            else return p;
            break;
        case 2:
            if (g.ksym_yz == 0) p.y = p.z = true;
            else if (g.ksym_xz == 0) p.x = p.z = true;
            else if (g.ksym_xy == 0) p.x = p.y = true;
            else return p;
            break;
        case 3: p.x = p.y = p.z = true; break;
        default: return p;
    }
    p.nx = p.x ? 2 * stored_nx - 1 : stored_nx;
    p.ny = p.y ? 2 * stored_ny - 1 : stored_ny;
    p.nz = p.z ? 2 * stored_nz - 1 : stored_nz;
    return p;
}

// For a fixed (j, k) the y and z signs are constant, so the row is at most two runs (below and
// from the x pivot) of stored values times one constant factor.
void UNFOLD_ROW(const field_grid_record& g, const unfold_plan& plan, int c, int j, int k, std::span<double> out) {
    const unsigned odd = ODD_AXES(g.field_kind, c);
    const bool flip_x = plan.x && (odd & odd_x) != 0;
    const bool flip_y = plan.y && (odd & odd_y) != 0;
    const bool flip_z = plan.z && (odd & odd_z) != 0;
    const axis_node kn = AXIS_NODE(plan.z, k, stored_nz);
    const axis_node jn = AXIS_NODE(plan.y, j, stored_ny);
    const bool negate_yz = (flip_y && jn.below) != (flip_z && kn.below);
    const double upper = negate_yz ? -1.0 : 1.0;  // factor from the pivot up (or whole row)
    const double lower = flip_x ? -upper : upper;  // factor below the x pivot
    const double* row = STORED_COMPONENT(g, c).data() + STORED_INDEX(1, jn.stored, kn.stored);
    double* o = out.data();
    if (plan.x) {
        // Full nodes 1..24 take stored nodes 25..2, full nodes 25..49 stored nodes 1..25.
        for (int i = 0; i < stored_nx - 1; ++i) o[i] = lower * row[stored_nx - 1 - i];
        double* o_upper = o + (stored_nx - 1);
        for (int i = 0; i < stored_nx; ++i) o_upper[i] = upper * row[i];
    } else {
        for (int i = 0; i < stored_nx; ++i) o[i] = upper * row[i];
    }
}

}  // namespace orvex
