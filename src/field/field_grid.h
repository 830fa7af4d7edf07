// field_grid.h: the one field map of a run, in its two stages.
//
// WHAT IT IS
//   The stored lattice is what the readers deliver: 25 x 25 x 201 nodes. On an axis whose
//   mirror flag is 1 the stored nodes cover only the non-negative side, node 1 on the mirror
//   plane. The full grid is the whole region after unfolding: 25 or 49 nodes across, 201 or 401
//   along z, in arrays of capacity 50 x 50 x 402. Indices are 1-based in every procedure's
//   interface, i along x fastest in storage, then j, then k (STORED_INDEX, FULL_INDEX).
//
// WHO WRITES WHAT (each stage reads what the stages before it wrote; nothing writes back)
//   field_flag, first field_kind     READ_CONTROL_FILE, CLASSIFY_FIELD_FILE (driver)
//   d_elm, aper, n_cell, the flags,  READ_FIELD_ARRAYS, READ_FIELD_NODES (fieldio); the readers
//   the coordinates, the six stored  also set the final field_kind (a positive n_cell, or the
//   arrays, final field_kind         node list's own kind)
//   ksym                             LIST_FIELD_HEADER (driver)
//   nx, ny, nz, the six limits, the  UNFOLD_GRID (field)
//   six full arrays
//   dx, dy, dz                       COMPUTE_MESH_STEPS, driven by the plot driver (field)
//   unfolded                         the readers (false), UNFOLD_GRID (true)
//
// HOW TO CALL IT
//   field_grid.ex_in[STORED_INDEX(i, j, k)]; field_grid.ez_full[FULL_INDEX(i, j, k)]
//
// ASSUMES AND LIMITS
//   One record per process, in static storage, zero at start, never allocated or freed (about
//   54 MB, of which a run touches only the pages it writes). The spare capacity nodes of the
//   full arrays are never written or read.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace orvex {

inline constexpr int stored_nx = 25;
inline constexpr int stored_ny = 25;
inline constexpr int stored_nz = 201;
inline constexpr std::size_t stored_nodes = std::size_t{stored_nx} * stored_ny * stored_nz;  // 125,625

inline constexpr int full_capacity_x = 50;
inline constexpr int full_capacity_y = 50;
inline constexpr int full_capacity_z = 402;
inline constexpr std::size_t full_nodes =
    std::size_t{full_capacity_x} * full_capacity_y * full_capacity_z;  // 1,005,000

using stored_array = std::array<double, stored_nodes>;
using full_array = std::array<double, full_nodes>;

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

    // Full grid.
    std::int32_t nx = 0, ny = 0, nz = 0;
    full_array ex_full{}, ey_full{}, ez_full{}, bx_full{}, by_full{}, bz_full{};
    double xmin = 0.0, xmax = 0.0, ymin = 0.0, ymax = 0.0, zmin = 0.0, zmax = 0.0;
    double dx = 0.0, dy = 0.0, dz = 0.0;

    // Stage: true once UNFOLD_GRID has built the full grid from the stored lattice now held
    // (a reader sets it false); sampling assumes it (console/assume.h).
    bool unfolded = false;
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

// Offset of full-grid node (i, j, k), 1-based, in the 50 x 50 x 402 capacity layout.
constexpr std::size_t FULL_INDEX(int i, int j, int k) {
    return (static_cast<std::size_t>(k - 1) * full_capacity_y + static_cast<std::size_t>(j - 1)) *
               full_capacity_x +
           static_cast<std::size_t>(i - 1);
}

// Puts the whole record back to its start-of-run state (every count 0, every element 0.0).
// A run never needs it; tests that load several maps in one process do.
void RESET_FIELD_GRID();

}  // namespace orvex
