// figures_axis.h: the pieces the figures' source files share (figures.cpp, transit_time.cpp,
// divergence.cpp); callers use figures.h.
//
// WHAT IT IS
//   The triple of full arrays of a field, the nodes of a line along z with their positions,
//   the trapezoid rule, the gradient on the axis and the search for the beta of largest gain.
//
// HOW TO CALL IT
//   const axis_samples s = SAMPLE_AXIS_LINE(grid, lines[2], 0);   // s.n nodes, s.val[2] = Ez
//   const double v0 = TRAPEZOID(s.pos.data(), s.val[2].data(), s.n);
//
// ASSUMES AND LIMITS
//   As figures.h: reads only the record it is given. A line whose nodes lie outside the
//   capacities samples nothing (n = 0).
#pragma once

#include <array>
#include <optional>

#include "field/figures.h"

namespace orvex {

struct axis_samples {
    int n = 0;
    std::array<double, axial_capacity> pos{};
    std::array<std::array<double, axial_capacity>, 3> val{};
};

// The full arrays of field 0 (Ex, Ey, Ez) or 1 (Bx, By, Bz).
std::array<const full_array*, 3> TRIPLE_OF(const field_grid_record& g, int field);

// The nodes of a line along z, positions (k - 1) dz + zmin.
axis_samples SAMPLE_AXIS_LINE(const field_grid_record& g, const figure_line& line, int field);

// sum over p of (val[p] + val[p+1]) / 2 x (pos[p+1] - pos[p]), in node order.
double TRAPEZOID(const double* pos, const double* val, int n);

// dEx/dx (field 0) or dBy/dx (field 1) on the line's nodes along z, by central differences.
std::optional<gradient_figures> AXIS_GRADIENT(const field_grid_record& g, const figure_line& axis, int field);

// The beta in [best_beta_low, best_beta_high] where the gain on line 3 is largest, with its
// figures; absent when the axis is missing or Ez is 0 on it.
std::optional<rf_figures> BEST_BETA(const field_grid_record& g, const figure_lines& lines, double frequency_mhz);

}  // namespace orvex
