// full_map.h: the map unfolded to the whole region, the one record every tool reads.
//
// WHAT IT IS
//   UNFOLD_GRID (unfold.h) makes it from the stored lattice, and it is complete when that
//   returns: the counts (25 or 49 across, 201 or 401 along z; 0 when the kind and the flags
//   match no unfolding case), the limits, the steps, the coordinate of every node, the header's
//   mirror flags with the axes they mirrored, what the map carries, and the six components.
//   Node coordinates follow one rule, the page's: node n of an axis lies at
//   (n - 1) * step + lo, step = (hi - lo) / (count - 1); a node within 1e-9 of a step of 0 (the
//   centre of a mirrored axis, up to the rounding of the step) lies at exactly 0. Every reader
//   (page lines, slices, node lines, figures, interpolation, exports, comparison) takes the
//   coordinates from here; nothing recomputes a step or a position.
//   A field's three arrays are unfolded from the stored lattice the first time they are asked
//   for (FIELD_TRIPLE, COMPONENT_ARRAY; under a lock, so threads may ask together), so a run
//   pays only for the field it uses; apart from that the record is never written after
//   UNFOLD_GRID. Components are numbered 0..5 (Ex Ey Ez Bx By Bz) as in field_table.h: field f
//   holds components 3f .. 3f + 2.
//
// HOW TO CALL IT
//   const full_map& m = field_grid.full;                    // after UNFOLD_GRID
//   const component_triple e = FIELD_TRIPLE(m, 0);          // (*e[2])[FULL_INDEX(i, j, k)] is Ez
//   const double x = m.x[i - 1];                            // or NODE_COORDINATE(m, 'x', i)
//
// ASSUMES AND LIMITS
//   One record per process (inside field_grid, static storage); its arrays have the full
//   capacity 50 x 50 x 402, of which nodes 1..nx, 1..ny, 1..nz hold the map and the rest are
//   never written or read. A field the map does not carry unfolds to zero (its stored arrays are
//   zero). Indices are 1-based; FULL_INDEX gives the offset of a node.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <span>

namespace orvex {

inline constexpr int full_capacity_x = 50;
inline constexpr int full_capacity_y = 50;
inline constexpr int full_capacity_z = 402;
inline constexpr std::size_t full_nodes =
    std::size_t{full_capacity_x} * full_capacity_y * full_capacity_z;  // 1,005,000

using full_array = std::array<double, full_nodes>;
using component_triple = std::array<const full_array*, 3>;

struct field_grid_record;

struct full_map {
    // The axes.
    std::int32_t nx = 0, ny = 0, nz = 0;  // 0: the kind and the flags match no unfolding case
    double xmin = 0.0, xmax = 0.0, ymin = 0.0, ymax = 0.0, zmin = 0.0, zmax = 0.0;
    double dx = 0.0, dy = 0.0, dz = 0.0;  // (max - min) / (count - 1)
    std::array<double, full_capacity_x> x{};  // node coordinates, cm (the rule above)
    std::array<double, full_capacity_y> y{};
    std::array<double, full_capacity_z> z{};

    // What the header said and what the unfolding made of it.
    std::int32_t ksym_yz = 0, ksym_xz = 0, ksym_xy = 0;  // the mirror flags as read
    bool mirrored_x = false, mirrored_y = false, mirrored_z = false;
    std::int32_t field_kind = 0;  // what the map carries: 0 electric, 1 magnetic, 2 both

    // The six components Ex, Ey, Ez, Bx, By, Bz; a field's three are written once, when first
    // asked for (held says which are).
    mutable full_array ex_full{}, ey_full{}, ez_full{}, bx_full{}, by_full{}, bz_full{};
    mutable std::array<std::atomic<bool>, 2> held{};
    mutable std::mutex unfolding;
    const field_grid_record* stored = nullptr;  // the lattice the fields are unfolded from

    // True once UNFOLD_GRID has made the record from the stored lattice now held.
    bool complete = false;
};

// Offset of full-grid node (i, j, k), 1-based, in the 50 x 50 x 402 capacity layout.
constexpr std::size_t FULL_INDEX(int i, int j, int k) {
    return (static_cast<std::size_t>(k - 1) * full_capacity_y + static_cast<std::size_t>(j - 1)) *
               full_capacity_x +
           static_cast<std::size_t>(i - 1);
}

// The three arrays of field 0 (Ex, Ey, Ez) or 1 (Bx, By, Bz; any other value is taken as 0),
// unfolded first if this is the first request.
component_triple FIELD_TRIPLE(const full_map& m, int field);

// The array of component c (0..5: Ex .. Bz), unfolded first if need be.
const full_array& COMPONENT_ARRAY(const full_map& m, int c);

// Whether the map carries field 0 (electric) or 1 (magnetic).
bool MAP_CARRIES(const full_map& m, int field);

// Nodes along axis 'x', 'y' or 'z' (any other character: z), their coordinates and step.
int AXIS_NODES(const full_map& m, char axis);
std::span<const double> AXIS_COORDINATES(const full_map& m, char axis);
double AXIS_STEP(const full_map& m, char axis);
// Where node n (1..count) of the axis lies, in cm.
double NODE_COORDINATE(const full_map& m, char axis, int n);
// The node of the axis nearest a coordinate (ties to the lower node; beyond the ends, the end).
int NEAREST_NODE_AT(const full_map& m, char axis, double coordinate);

// A node of the full grid, 1-based.
struct grid_node {
    int i = 1, j = 1, k = 1;
};

}  // namespace orvex
