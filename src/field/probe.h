// probe.h: the places a probe reads the map at (the points of a segment, of a circle) and every
// field the map carries, interpolated at a point.
//
// WHAT IT IS
//   SEGMENT_POINTS gives n >= 2 points evenly spaced from one point to another, both included,
//   as numpy.linspace places them: coordinate c of point k (0-based) is
//   k * ((c1 - c0) / (n - 1)) + c0, and the last point is exactly the second end.
//   SEGMENT_POSITIONS gives the position of each along the segment in cm, k * (L / (n - 1)),
//   the last exactly L, with L = sqrt(dx^2 + dy^2 + dz^2) the segment's length.
//   CIRCLE_POINTS gives n >= 1 points on the circle of radius r about the z axis at height z:
//   point k (0-based) at x = r cos(a), y = r sin(a), with a = 2 pi k / n computed as
//   ((2 pi) k) / n.
//   PROBE_AT reads the three components of each field asked for at one point, by one of the two
//   rules of interpolate.h; a point outside the map's region gives NaN for every component and
//   false. Z_CELL_ORDER gives an order of many points in which neighbouring points read nodes
//   already in the caches: by the z cell that holds them (a counting sort; points outside last),
//   which for points in random order (a measurement file) makes reading them several times
//   faster; the values do not depend on the order.
//
// HOW TO CALL IT
//   const std::vector<point3> at = SEGMENT_POINTS({0, 0, -10}, {0.5, 0, 10}, 201);
//   const std::array<component_triple, 2> triples{FIELD_TRIPLE(m, 0), FIELD_TRIPLE(m, 1)};
//   double v[6];
//   if (!PROBE_AT(m, interpolation::cubic, at[7], triples, v)) ...;   // v[0..2] E, v[3..5] B
//
// ASSUMES AND LIMITS
//   Counts below the least are taken as the least (2 for a segment, 1 for a circle); callers
//   check the counts they are given. The map is complete; the triples are the map's own
//   (FIELD_TRIPLE), so PROBE_AT is thread-safe. out holds 3 values per triple.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "field/full_map.h"
#include "field/interpolate.h"

namespace orvex {

using point3 = std::array<double, 3>;

std::vector<point3> SEGMENT_POINTS(const point3& from, const point3& to, int n);
std::vector<double> SEGMENT_POSITIONS(const point3& from, const point3& to, int n);
std::vector<point3> CIRCLE_POINTS(double r, double z, int n);

// The components of each triple at the point, 3 per triple in order into out; false (and NaN
// in out) when the point lies outside the map's region.
bool PROBE_AT(const full_map& m, interpolation rule, const point3& at, std::span<const component_triple> triples,
              double* out);

// The indices of the points (fewer than 2^32) ordered by the z cell that holds them.
std::vector<std::uint32_t> Z_CELL_ORDER(const full_map& m, std::span<const point3> points);

}  // namespace orvex
