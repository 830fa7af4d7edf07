// analytic_grid.h: loads the analytic field straight into the stored lattice of field_grid.
//
// A mirrored axis stores nodes 0..hi, an unmirrored one -hi..hi, uniformly over 25 (201) nodes;
// the components the kind does not carry stay 0.0, as a reader leaves them. The field is scaled
// by the half-extents hi, as the map writer does.
#pragma once

#include "analytic_field.h"
#include "field_grid.h"

namespace orvex::testing {

struct analytic_map {
    int kind = 2;
    int yz = 0, xz = 0, xy = 0;
    double x_hi = 2.0, y_hi = 1.5, z_hi = 50.0;
};

inline mapgen::field_scale SCALE(const analytic_map& m) { return {m.x_hi, m.y_hi, m.z_hi}; }

// Node n of count points from lo to hi.
inline double NODE_COORD(double lo, double hi, int n, int count) {
    return lo + (hi - lo) * static_cast<double>(n - 1) / static_cast<double>(count - 1);
}

// Resets field_grid and fills its header, flags, ksym, coordinates and stored arrays.
inline void LOAD_ANALYTIC(const analytic_map& m) {
    RESET_FIELD_GRID();
    field_grid_record& g = field_grid;
    g.field_kind = m.kind;
    g.ksym_yz = m.yz;
    g.ksym_xz = m.xz;
    g.ksym_xy = m.xy;
    g.ksym = m.yz + m.xz + m.xy;
    g.aper = m.x_hi;
    for (int i = 1; i <= stored_nx; ++i) g.xmws[i - 1] = NODE_COORD(m.yz == 1 ? 0.0 : -m.x_hi, m.x_hi, i, stored_nx);
    for (int j = 1; j <= stored_ny; ++j) g.ymws[j - 1] = NODE_COORD(m.xz == 1 ? 0.0 : -m.y_hi, m.y_hi, j, stored_ny);
    for (int k = 1; k <= stored_nz; ++k) g.zmws[k - 1] = NODE_COORD(m.xy == 1 ? 0.0 : -m.z_hi, m.z_hi, k, stored_nz);
    for (int k = 1; k <= stored_nz; ++k)
        for (int j = 1; j <= stored_ny; ++j)
            for (int i = 1; i <= stored_nx; ++i) {
                const mapgen::field_value f =
                    mapgen::ANALYTIC_FIELD(m.kind, g.xmws[i - 1], g.ymws[j - 1], g.zmws[k - 1], SCALE(m));
                const std::size_t s = STORED_INDEX(i, j, k);
                g.ex_in[s] = f.ex;
                g.ey_in[s] = f.ey;
                g.ez_in[s] = f.ez;
                g.bx_in[s] = f.bx;
                g.by_in[s] = f.by;
                g.bz_in[s] = f.bz;
            }
}

}  // namespace orvex::testing
