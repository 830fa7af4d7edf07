// compare.h: this map against another: the other read at this map's nodes, and what differs.
//
// WHAT IT IS
//   PAIR_MAPS says, axis by axis, how the other map is read at each node of this map: a node
//   that lies within 1e-9 of the other's step of one of the other's nodes reads that node's
//   value; any other node reads the cubic rule of interpolate.h (the same weights, applied in
//   the same order, so the values are INTERPOLATE's); a node beyond the other's region along
//   any axis (by more than 1e-9 of its step) is left out. When both maps have the same counts
//   and every node reads one of the other's, the grids coincide and the other is read at its
//   own node values. A map paired with itself reads exactly its own values.
//   COMPARE_FIELD gives, for each component of a field, over the compared nodes, d = this -
//   other: the largest |d| with its node (the first in array order, i fastest), the values of
//   both there, and the RMS difference sqrt(sum d^2 / N) summed in array order; nodes where d
//   is not finite (a value that is not a number in either map) are counted apart and left out
//   of both. largest_magnitude is the largest |F| = sqrt(Fx^2 + Fy^2 + Fz^2) of this map over
//   all its nodes (finite ones), the scale of the relative figures.
//   OTHER_AT_NODE and OTHER_ALONG_LINE read the other map at single nodes (the slice window's
//   difference, the detail window's second profile) with the same weights.
//
// HOW TO CALL IT
//   map_pairing p;  PAIR_MAPS(this_map, other_map, p);            // p.left_out nodes outside
//   const field_difference e = COMPARE_FIELD(p, 0);                // e.components[2]: Ez
//   std::array<double, 3> there;  if (OTHER_AT_NODE(p, 0, {25, 25, 201}, there)) ...
//
// ASSUMES AND LIMITS
//   Both maps are complete (UNFOLD_GRID) and outlive the pairing; the field asked for is
//   unfolded on request. Reads only what it is handed. COMPARE_FIELD allocates three arrays
//   of this map's node count (about 23 MB for the largest maps) while it runs.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "field/field_grid.h"
#include "field/full_map.h"
#include "field/interpolate.h"

namespace orvex {

// Another map, read through its control file into a record of its own (the driver reads it;
// the window is handed it).
struct other_map {
    std::unique_ptr<field_grid_record> grid;  // its stored lattice and its full map
    std::string directory;                    // where its control file is, as given
    std::string file;                         // its field file as its control file names it
    int field_flag = 0;                       // its line 5
    std::vector<std::string> notes;           // its map checks, each begun with other_note_prefix
};
inline constexpr std::string_view other_note_prefix = "in the other map: ";

struct map_pairing {
    const full_map* self = nullptr;
    const full_map* other = nullptr;
    std::string other_file;  // the other map's file, for titles and legends
    // For each node of this map along x, y and z (0-based): the other's nodes and weights there;
    // count 0: beyond the other's region along that axis.
    std::array<std::vector<axis_weights>, 3> reading;
    std::array<bool, 3> on_nodes{};  // every node inside reads a node of the other on that axis
    bool coincide = false;           // same counts, and every node reads one of the other's
    std::int64_t compared = 0;       // nodes of this map inside the other's region
    std::int64_t left_out = 0;       // nodes beyond it
};

void PAIR_MAPS(const full_map& self, const full_map& other, map_pairing& out);

// The other's field (0 or 1) at node n of this map; false, and NaN, beyond its region or when
// the other map does not carry the field (so do the procedures below).
bool OTHER_AT_NODE(const map_pairing& p, int field, grid_node n, std::array<double, 3>& out);

// The other's field at this map's nodes along a line (SAMPLE_NODE_LINE's nodes): count values
// per component, NaN beyond its region.
void OTHER_ALONG_LINE(const map_pairing& p, int field, char axis, grid_node through,
                      std::array<std::vector<double>, 3>& out);

struct component_difference {
    std::int64_t nodes = 0;        // compared nodes with a finite difference
    std::int64_t not_finite = 0;   // compared nodes without one
    double largest = 0.0;          // largest |this - other|
    grid_node at;                  // where (meaningful when nodes > 0)
    double this_value = 0.0, other_value = 0.0;
    double rms = 0.0;              // sqrt(sum d^2 / nodes)
};

struct field_difference {
    int field = 0;
    std::optional<double> largest_magnitude;  // largest |F| of this map; absent when none is finite
    std::array<component_difference, 3> components;
};

field_difference COMPARE_FIELD(const map_pairing& p, int field);

// The other's component c (0..5) at every node of this map, i fastest, then j, then k
// (nx * ny * nz values), NaN beyond its region: what COMPARE_FIELD compares with.
void OTHER_AT_NODES(const map_pairing& p, int c, std::vector<double>& out);

}  // namespace orvex
