// node_list_fuzz.cpp: arbitrary text as a node list, then the listing and the unfolding of
// whatever loaded.
//
// A node list of a kind outside 0..2 loads without node lines, so short inputs reach the
// derived values, the header listing and the unfolding's case selection with any flags and
// ranges. A load must leave counts 25, 25, 201 behind it, n_cell 0, and an unfolding whose counts
// are 0 or the stored and mirrored sizes.
#include <cstddef>
#include <cstdint>

#include "field/field_grid.h"
#include "fieldio/field_readers.h"
#include "fuzz_input.h"
#include "driver/header_listing.h"
#include "field/unfold.h"
#include "console/run_stop.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvex;
    fuzz::ENTER_FUZZ_DIR();
    fuzz::WRITE_INPUT("MW_fuzz.txt", data, size);
    field_grid.nx = field_grid.ny = field_grid.nz = 0;
    try {
        READ_FIELD_NODES("MW_fuzz.txt");
    } catch (const run_stop& stop) {
        fuzz::CHECK_STOP(stop);
        return 0;
    }
    if (field_grid.n_cell != 0) __builtin_trap();
    LIST_FIELD_HEADER();
    CLEAR_CONSOLE_LOG();
    UNFOLD_GRID();
    const std::int32_t nx = field_grid.nx, ny = field_grid.ny, nz = field_grid.nz;
    const bool none = nx == 0 && ny == 0 && nz == 0;
    const bool sized = (nx == 25 || nx == 49) && (ny == 25 || ny == 49) && (nz == 201 || nz == 401);
    if (!none && !sized) __builtin_trap();
    return 0;
}
