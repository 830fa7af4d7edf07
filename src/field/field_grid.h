// field_grid.h: the one field map of a run, in its two stages.
//
// WHAT IT IS
//   The stored lattice is what the readers deliver: 25 x 25 x 201 nodes. On an axis whose
//   mirror flag is 1 the stored nodes cover only the non-negative side, node 1 on the mirror
//   plane. The full map (full_map.h) is the whole region after unfolding: 25 or 49 nodes
//   across, 201 or 401 along z, in arrays of capacity 50 x 50 x 402, with its coordinates,
//   steps and fields. Indices are 1-based in every procedure's interface, i along x fastest in
//   storage, then j, then k (STORED_INDEX, FULL_INDEX).
//
// WHO WRITES WHAT (each stage reads what the stages before it wrote; nothing writes back)
//   field_flag, first field_kind     READ_CONTROL_FILE, CLASSIFY_FIELD_FILE (driver)
//   d_elm, aper, n_cell, the flags,  READ_FIELD_ARRAYS, READ_FIELD_NODES (fieldio); the readers
//   the coordinates, the six stored  also set the final field_kind (a positive n_cell, or the
//   arrays, final field_kind         node list's own kind)
//   ksym                             LIST_FIELD_HEADER (driver)
//   full: the whole map (counts,     UNFOLD_GRID (field); a field's arrays on first request
//   limits, steps, coordinates,
//   flags, fields)
//   field_flag is the control file's choice of the field to plot; it is read once, by the
//   driver, which hands the field to every stage as an argument.
//
// HOW TO CALL IT
//   field_grid.ex_in[STORED_INDEX(i, j, k)]; (*FIELD_TRIPLE(field_grid.full, 0)[2])[FULL_INDEX(i, j, k)]
//
// ASSUMES AND LIMITS
//   The run's record is one per process, in static storage, zero at start, never allocated or
//   freed (about 54 MB, of which a run touches only the pages it writes). A second map (the
//   other map of a comparison) is read into a record of its own on the heap: the readers, the
//   control file and UNFOLD_GRID take the record they write as an argument. The spare capacity nodes of the
//   full arrays are never written or read.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "field/full_map.h"

namespace orvex {

inline constexpr int stored_nx = 25;
inline constexpr int stored_ny = 25;
inline constexpr int stored_nz = 201;
inline constexpr std::size_t stored_nodes = std::size_t{stored_nx} * stored_ny * stored_nz;  // 125,625


using stored_array = std::array<double, stored_nodes>;

struct field_grid_record {
    // Header values and selectors.
    double d_elm = 0.0;
    double aper = 0.0;
    std::int32_t n_cell = 0;
    std::int32_t ksym_yz = 0;  // 1: symmetric about x = 0
    std::int32_t ksym_xz = 0;  // 1: symmetric about y = 0
    std::int32_t ksym_xy = 0;  // 1: symmetric about z = 0
    std::int32_t ksym = 0;     // sum of the three flags, set by the header listing
    std::int32_t field_kind = 0;  // 0 electric only, 1 magnetic only, 2 both
    std::int32_t field_flag = 0;  // 0 plot E, 1 plot B

    // Stored lattice.
    std::array<double, stored_nx> xmws{};
    std::array<double, stored_ny> ymws{};
    std::array<double, stored_nz> zmws{};
    stored_array ex_in{}, ey_in{}, ez_in{}, bx_in{}, by_in{}, bz_in{};

    // The whole map, made by UNFOLD_GRID.
    full_map full;
};

inline constexpr std::size_t huge_page_size = std::size_t{2} << 20;

// The run's field grid (about 54 MB, static storage, aligned to a huge page).
extern field_grid_record field_grid;

// Asks the kernel to back field_grid with huge pages; called once, before the grid is first
// written. Changes nothing but speed.
void ADVISE_FIELD_GRID();

// Offset of stored node (i, j, k), 1-based.
constexpr std::size_t STORED_INDEX(int i, int j, int k) {
    return (static_cast<std::size_t>(k - 1) * stored_ny + static_cast<std::size_t>(j - 1)) * stored_nx +
           static_cast<std::size_t>(i - 1);
}

// Puts the whole record back to its start-of-run state (every count 0, every element 0.0).
// A run never needs it; tests that load several maps in one process do.
void RESET_FIELD_GRID();
// The same for a record of its own (a second map, read for a comparison).
void RESET_FIELD_GRID(field_grid_record& g);

}  // namespace orvex
