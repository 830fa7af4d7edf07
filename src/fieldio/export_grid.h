// export_grid.h: what every exporter takes from the full map: the fields it carries, its axes
// and each component in x-fastest order.
//
// WHAT IT IS
//   EXPORT_GRID reads the full map (field/full_map.h): which axes it mirrored and its counts,
//   which triples it carries and, per axis, the count, the limits, the step and the coordinate
//   of every node, the full map's own (the page's rule). UNFOLDED_COMPONENT fills a buffer of
//   nx * ny * nz values of one component, x fastest, then y, then z.
//
// HOW TO CALL IT
//   const export_grid eg = EXPORT_GRID(map);      // eg.plan.nx == 0: no unfolding case
//   std::vector<double> ex(eg.nodes);
//   UNFOLDED_COMPONENT(map, eg, 0, ex);
//
// ASSUMES AND LIMITS
//   Reads only the map it is handed. A component the map does not carry is zero, but exporters
//   skip it.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "console/csv_text.h"
#include "field/full_map.h"
#include "field/unfold_rows.h"

namespace orvex {

struct export_axis {
    int count = 0;
    double lo = 0.0, hi = 0.0, step = 0.0;  // cm; step = (hi - lo) / (count - 1)
    std::span<const double> coordinate;     // cm, the full map's coordinate of each node
};

struct export_grid {
    unfold_plan plan;
    std::array<export_axis, 3> axis;  // x, y, z
    bool electric = false, magnetic = false;
    std::size_t nodes = 0;  // nx * ny * nz
};

export_grid EXPORT_GRID(const full_map& map);

// Component c (0..5: Ex Ey Ez Bx By Bz) on the full grid into out (eg.nodes values, x fastest).
void UNFOLDED_COMPONENT(const full_map& map, const export_grid& eg, int c, std::span<double> out);

}  // namespace orvex
