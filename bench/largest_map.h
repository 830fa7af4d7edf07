// largest_map.h: the map the benchmarks measure on: both fields (kind 2, n_cell 3), all three
// mirrors, the analytic field of the map writer, loaded into the stored lattice and unfolded
// once per process, field_flag 0 (the electric triple plotted).
#pragma once

#include "console/console.h"
#include "field/field_grid.h"
#include "field/unfold.h"
#include "map_writer.h"

namespace orvex::bench {

inline void LOAD_LARGEST_MAP() {
    static bool loaded = false;
    if (loaded) return;
    loaded = true;
    mapgen::map_recipe recipe;
    recipe.kind = 2;
    recipe.ksym_yz = recipe.ksym_xz = recipe.ksym_xy = 1;
    recipe.n_cell = 3;
    field_grid_record& g = field_grid;
    mapgen::FILL_STORED(recipe, {g.xmws.data(), g.ymws.data(), g.zmws.data(), g.ex_in.data(), g.ey_in.data(),
                               g.ez_in.data(), g.bx_in.data(), g.by_in.data(), g.bz_in.data()});
    g.field_kind = 2;
    g.ksym_yz = g.ksym_xz = g.ksym_xy = 1;
    g.ksym = 3;
    g.field_flag = 0;
    UNFOLD_GRID();
    SET_CONSOLE_QUIET(true);
}

}  // namespace orvex::bench
