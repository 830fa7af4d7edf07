// export_grid.h: what every exporter takes from a grid: the fields it carries, the full grid's
// axes and each component unfolded in x-fastest order.
//
// WHAT IT IS
//   EXPORT_GRID reads the unfolding plan (field/unfold_rows.h), which triples the map carries
//   and, per axis, the full count, the limits (the first and last node, as UNFOLD_GRID sets
//   them), the even step between them and the map's own coordinate of every full node (the
//   stored coordinate, negated on the mirrored side). UNFOLDED_COMPONENT fills a buffer of
//   nx * ny * nz values of one component, x fastest, then y, then z.
//
// HOW TO CALL IT
//   const export_grid eg = EXPORT_GRID(grid);      // eg.plan.nx == 0: no unfolding case
//   std::vector<double> ex(eg.nodes);
//   UNFOLDED_COMPONENT(grid, eg, 0, ex);
//
// ASSUMES AND LIMITS
//   Reads only the grid it is handed. A component the map does not carry is zero (the stored
//   arrays a reader leaves), but exporters skip it.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "console/csv_text.h"
#include "field/field_grid.h"
#include "field/unfold_rows.h"

namespace orvex {

struct export_axis {
    int count = 0;
    double lo = 0.0, hi = 0.0, step = 0.0;  // cm; step = (hi - lo) / (count - 1)
    std::vector<double> coordinate;         // cm, the map's own coordinate of each full node
};

struct export_grid {
    unfold_plan plan;
    std::array<export_axis, 3> axis;  // x, y, z
    bool electric = false, magnetic = false;
    std::size_t nodes = 0;  // nx * ny * nz
};

export_grid EXPORT_GRID(const field_grid_record& grid);

// Component c (0..5: Ex Ey Ez Bx By Bz) on the full grid into out (eg.nodes values, x fastest).
void UNFOLDED_COMPONENT(const field_grid_record& grid, const export_grid& eg, int c, std::span<double> out);

}  // namespace orvex
