// figures_axis.h: the pieces the figures' source files share (figures.cpp, transit_time.cpp,
// divergence.cpp); callers use figures.h.
//
// WHAT IT IS
//   The z axis of the page (line 3) cut by the one line sampler, the trapezoid rule, the
//   gradient on the axis and the search for the beta of largest gain.
//
// HOW TO CALL IT
//   line_samples s;  SAMPLE_AXIS(map, 0, s);                    // s.n nodes, s.val[2] = Ez
//   const double v0 = TRAPEZOID(s.pos.data(), s.val[2].data(), s.n);
//
// ASSUMES AND LIMITS
//   As figures.h: reads only the map it is given. An axis whose nodes lie outside the grid
//   samples nothing (n = 0).
#pragma once

#include <optional>

#include "field/figures.h"
#include "field/node_lines.h"

namespace orvex {

// Line 3 of the page, the z axis through the centre nodes, for a field.
void SAMPLE_AXIS(const full_map& m, int field, line_samples& out);

// sum over p of (val[p] + val[p+1]) / 2 x (pos[p+1] - pos[p]), in node order.
double TRAPEZOID(const double* pos, const double* val, int n);

// dEx/dx (field 0) or dBy/dx (field 1) on the nodes of the z axis, by central differences over
// the two x nodes beside it.
std::optional<gradient_figures> AXIS_GRADIENT(const full_map& m, int field);

// The beta in [best_beta_low, best_beta_high] where the gain on the axis is largest, with its
// figures; absent when the axis is missing or Ez is 0 on it.
std::optional<rf_figures> BEST_BETA(const full_map& m, double frequency_mhz);

}  // namespace orvex
