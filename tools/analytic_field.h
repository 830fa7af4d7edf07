// analytic_field.h: fields with exactly the mirror parities the unfolding assumes.
//
// For each field kind, a component is odd in a coordinate exactly when the unfolding negates
// it on the mirrored side of that axis:
//   kind 0 (E only):  Ex odd in x, Ey odd in y, Ez odd in z; B is zero.
//   kind 1 (B only):  Bx odd in x and z, By odd in y and z, Bz even; E is zero.
//   kind 2 (E and B): Ex odd in x, Ey odd in y, Ez odd in z,
//                     Bx odd in y and z, By odd in x and z, Bz odd in x and y.
// Every other dependence is even. So a map written on the non-negative side of its mirrored
// axes and unfolded must equal the analytic field on every node of the whole region. Each
// component has its own shape and scale, so a swapped component or a shifted node shows.
//
// Coordinates are scaled by the region's half-extents (scale_x, scale_y, scale_z), so the
// fields stay of order 1e2..1e3 on any grid.
#pragma once

#include <array>

namespace orvex::mapgen {

struct field_value {
    double ex = 0.0, ey = 0.0, ez = 0.0;
    double bx = 0.0, by = 0.0, bz = 0.0;
};

struct field_scale {
    double scale_x = 1.0, scale_y = 1.0, scale_z = 1.0;
};

// The components of a field value in file order, c = 0..5 for Ex, Ey, Ez, Bx, By, Bz:
// f.*field_components[c].
inline constexpr std::array<double field_value::*, 6> field_components{
    &field_value::ex, &field_value::ey, &field_value::ez, &field_value::bx, &field_value::by, &field_value::bz};

// The analytic field of kind 0, 1 or 2 at (x, y, z) cm; any other kind gives zero.
field_value ANALYTIC_FIELD(int kind, double x, double y, double z, const field_scale& scale);

}  // namespace orvex::mapgen
