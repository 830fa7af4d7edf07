// interpolate.h: the field of the full map at any point, by one of two exactly defined rules.
//
// WHAT IT IS
//   The three components of a field (0 electric, 1 magnetic) at a point (x, y, z) in cm, from
//   the full map's nodes (full_map.h):
//     linear  trilinear on the cell that holds the point;
//     cubic   along each axis the cubic Hermite (Catmull-Rom) through the cell's two nodes with
//             the slopes (f(i+1) - f(i-1)) / 2 and (f(i+2) - f(i)) / 2 in node units; a node
//             i-1 or i+2 outside the grid is replaced by linear extrapolation
//             (f(-1) = 2 f(0) - f(1), f(n) = 2 f(n-1) - f(n-2)); the tensor product over the
//             4 x 4 x 4 nodes (the 1-D rule along x, then y, then z).
//   The cell along an axis: i = floor((x - lo) / step), clamped to the last cell, and the
//   fraction t = (x - x_i) / step with the map's node coordinates x_i; a point on a node (its
//   coordinate exactly) gives that node's value exactly. A point beyond the first or the last
//   node of an axis by more than 1e-9 of a step has no value (inside is false, the components
//   NaN): nothing is extrapolated; one within that is taken onto the end node.
//   The 1-D rule is applied as weights of the four (or two) nodes, h00 f(i) + h10 m(i) +
//   h01 f(i+1) + h11 m(i+1) with h00 = 2t^3 - 3t^2 + 1, h10 = t^3 - 2t^2 + t,
//   h01 = -2t^3 + 3t^2, h11 = t^3 - t^2 gathered by node, so another program that follows the
//   definition meets these values to rounding (1e-12 relative).
//
// HOW TO CALL IT
//   std::array<double, 3> e;
//   if (INTERPOLATE(map, 0, interpolation::cubic, x, y, z, e)) use e[2];   // Ez
//   interpolation_stencil s;                       // one point, several fields:
//   if (STENCIL(map, interpolation::cubic, x, y, z, s)) { e = APPLY_STENCIL(s, FIELD_TRIPLE(map, 0)); ... }
//
// ASSUMES AND LIMITS
//   The map is complete with counts >= 2 on each axis and a positive, finite step (a map whose
//   coordinates are not numbers or do not ascend gives no value anywhere). Reads only the map
//   it is handed; thread-safe once the field asked for is unfolded (FIELD_TRIPLE). A node value
//   that is not finite spreads to every point whose weights reach it.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

#include "field/full_map.h"

namespace orvex {

enum class interpolation { linear, cubic };

// "linear" or "cubic", and back (absent for any other word).
std::string_view INTERPOLATION_NAME(interpolation rule);
std::optional<interpolation> INTERPOLATION_NAMED(std::string_view word);

// The nodes and weights along one axis: count (2 or up to 4) nodes from first (0-based).
struct axis_weights {
    int first = 0;
    int count = 0;
    std::array<double, 4> w{};
};

// Where a point lies in the map and how its nodes weigh.
struct interpolation_stencil {
    std::array<axis_weights, 3> axis;  // x, y, z
};

// The stencil of a point; false when the point lies outside the map's region (or the map has
// no usable axes).
bool STENCIL(const full_map& m, interpolation rule, double x, double y, double z, interpolation_stencil& s);

// The nodes and weights of one axis ('x', 'y' or 'z') at a coordinate, as STENCIL weighs it;
// false beyond the axis. A reader of many points on a lattice (a comparison of two maps)
// weighs each axis once and applies the weights in APPLY_STENCIL's order: along x, then y,
// then z.
bool AXIS_STENCIL(const full_map& m, char axis, interpolation rule, double coordinate, axis_weights& a);

// The three components of a field's arrays at the stencil's point.
std::array<double, 3> APPLY_STENCIL(const interpolation_stencil& s, const component_triple& f);

// The field's three components at a point; false (and NaN in out) outside the map's region.
bool INTERPOLATE(const full_map& m, int field, interpolation rule, double x, double y, double z,
                 std::array<double, 3>& out);

}  // namespace orvex
