// field_grid.cpp: the run's field grid in static storage.
#include "field/field_grid.h"

#include <sys/mman.h>

#include <cstdint>

namespace orvex {

// Aligned to the 2 MB of a huge page, so that the whole record can be backed by huge pages.
alignas(huge_page_size) field_grid_record field_grid;

// The full arrays are 48 MB that a run touches for the first time while unfolding; with 4 KB
// pages that is some 12,000 page faults, a large share of a whole run. Asking for huge pages
// before the first touch cuts them to a few dozen. Where the kernel does not offer them the
// advice is ignored and nothing changes.
void ADVISE_FIELD_GRID() {
    madvise(static_cast<void*>(&field_grid), sizeof field_grid, MADV_HUGEPAGE);
}

// Resets member by member: a temporary record would put 54 MB on the stack.
void RESET_FIELD_GRID() { RESET_FIELD_GRID(field_grid); }

void RESET_FIELD_GRID(field_grid_record& g) {
    g.d_elm = g.aper = 0.0;
    g.n_cell = g.ksym_yz = g.ksym_xz = g.ksym_xy = g.ksym = g.field_kind = g.field_flag = 0;
    g.xmws.fill(0.0);
    g.ymws.fill(0.0);
    g.zmws.fill(0.0);
    for (stored_array* a : {&g.ex_in, &g.ey_in, &g.ez_in, &g.bx_in, &g.by_in, &g.bz_in}) a->fill(0.0);
    full_map& m = g.full;
    m.nx = m.ny = m.nz = 0;
    m.xmin = m.xmax = m.ymin = m.ymax = m.zmin = m.zmax = 0.0;
    m.dx = m.dy = m.dz = 0.0;
    m.x.fill(0.0);
    m.y.fill(0.0);
    m.z.fill(0.0);
    m.ksym_yz = m.ksym_xz = m.ksym_xy = 0;
    m.mirrored_x = m.mirrored_y = m.mirrored_z = false;
    m.field_kind = 0;
    for (full_array* a : {&m.ex_full, &m.ey_full, &m.ez_full, &m.bx_full, &m.by_full, &m.bz_full}) a->fill(0.0);
    m.held[0] = m.held[1] = false;
    m.stored = nullptr;
    m.complete = false;
}

}  // namespace orvex
