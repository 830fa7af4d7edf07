// analytic_grid.h: loads a map writer's analytic map straight into the stored lattice of
// field_grid, as a reader would leave it (header values, flags, ksym, coordinates, the six
// stored arrays with the components the kind lacks at 0.0).
#pragma once

#include <array>

#include "field/field_grid.h"
#include "map_writer.h"

namespace orvex::testing {

// A map of a kind and flags; a mirrored axis stores 0..hi, an unmirrored one -hi..hi.
inline mapgen::map_recipe MAP(int kind, int yz, int xz, int xy) {
    mapgen::map_recipe m;
    m.kind = kind;
    m.ksym_yz = yz;
    m.ksym_xz = xz;
    m.ksym_xy = xy;
    m.y_hi = 1.5;  // differs from x, so a swapped axis shows
    return m;
}

// Resets a record and fills it from the map, with the defects written as a file would carry
// them, as the readers and the header listing do.
inline void LOAD_ANALYTIC_INTO(field_grid_record& g, const mapgen::map_recipe& m, const mapgen::map_defects& defects = {}) {
    RESET_FIELD_GRID(g);
    g.d_elm = m.d_elm;
    g.aper = m.aper;
    g.n_cell = m.n_cell;
    g.field_kind = m.kind;
    g.ksym_yz = m.ksym_yz;
    g.ksym_xz = m.ksym_xz;
    g.ksym_xy = m.ksym_xy;
    g.ksym = m.ksym_yz + m.ksym_xz + m.ksym_xy;
    mapgen::FILL_STORED(m,
                        {g.xmws.data(), g.ymws.data(), g.zmws.data(), g.ex_in.data(), g.ey_in.data(),
                         g.ez_in.data(), g.bx_in.data(), g.by_in.data(), g.bz_in.data()},
                        defects);
}

// The same into the run's field_grid.
inline void LOAD_ANALYTIC(const mapgen::map_recipe& m, const mapgen::map_defects& defects = {}) {
    LOAD_ANALYTIC_INTO(field_grid, m, defects);
}

// The analytic field of the map at a point, as six values Ex, Ey, Ez, Bx, By, Bz.
inline std::array<double, 6> FIELD(const mapgen::map_recipe& m, double x, double y, double z) {
    const mapgen::field_value f = mapgen::FIELD_AT(m, x, y, z);
    return {f.ex, f.ey, f.ez, f.bx, f.by, f.bz};
}

}  // namespace orvex::testing
