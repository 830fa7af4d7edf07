// header_listing.cpp: the six console records of a loaded map's header, and ksym.
#include "driver/header_listing.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "console/console.h"
#include "field/field_grid.h"

namespace orvex {

// Assumes a reader has filled the stored lattice (or left it at its start values). ksym is the
// plain sum of the flags, not a count of flags set: flags 2, 0, 0 give 2. The flags are stored
// as read, so their sum is formed in 64 bits and held at the 32-bit limits: absurd flags give
// an absurd ksym, never one that wrapped round to 0..3.
void LIST_FIELD_HEADER() {
    field_grid_record& g = field_grid;
    CONSOLE_WRITE("d_elm, aper, n_cell (k_s_EH)= ", {L_REAL(g.d_elm), L_REAL(g.aper), L_INT(g.n_cell)});
    CONSOLE_WRITE("ksym_yz, ksym_xz, ksym_xy= ", {L_INT(g.ksym_yz), L_INT(g.ksym_xz), L_INT(g.ksym_xy)});
    CONSOLE_WRITE("xmws limits= ", {L_REAL(g.xmws.front()), L_REAL(g.xmws.back())});
    CONSOLE_WRITE("ymws limits= ", {L_REAL(g.ymws.front()), L_REAL(g.ymws.back())});
    CONSOLE_WRITE("zmws limits= ", {L_REAL(g.zmws.front()), L_REAL(g.zmws.back())});
    SET_KSYM(g);
    CONSOLE_WRITE(" ksym = ", {L_INT(g.ksym)});
}

void SET_KSYM(field_grid_record& g) {
    const std::int64_t sum = std::int64_t{g.ksym_yz} + g.ksym_xz + g.ksym_xy;
    g.ksym = static_cast<std::int32_t>(std::clamp<std::int64_t>(sum, std::numeric_limits<std::int32_t>::min(),
                                                                std::numeric_limits<std::int32_t>::max()));
}

}  // namespace orvex
