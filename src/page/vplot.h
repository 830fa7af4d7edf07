// vplot.h: one profile drawn into one panel of the page.
//
// WHAT IT IS
//   VPLOT1X adds to an empty panel the position numbers under it, the value numbers left of
//   it, the axis title below, the value title above and the curve, clipped to the panel.
//   Scales run from pos(1) at the left edge to pos(n) at the right edge, and from the smallest
//   to the largest value, the lower end never above 9.0; ends are not rounded and get no
//   margin. PROFILE_SCALE gives those scales, for reading values off the drawn panel.
//
// HOW TO CALL IT
//   VPLOT1X(panel, n, pos, val, "Z (cm), X=Y=0", "Ez (V/cm)", colour_table[4]);
//
// ASSUMES AND LIMITS
//   panel_table is filled (INI_GRAPH; checked in debug and sanitizer builds); panel 1..30; pos and val hold n points. Points that are
//   not finite break the curve; zero-width ranges are widened so that nothing divides by zero;
//   n below 1 draws nothing.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "surface/axis_numbers.h"
#include "surface/surface.h"

namespace orvex {

// The scales of a profile as VPLOT1X draws it: pos(1) of the first finite point at the left edge
// (x_lo), that of the last at the right edge (x_hi), values from y_lo at the bottom to y_hi at
// the top. drawable is false when no point has a finite position and value (no curve).
struct profile_scale {
    double x_lo, x_hi, y_lo, y_hi;
    bool drawable;
};
profile_scale PROFILE_SCALE(std::int32_t n, const double* pos, const double* val);

// panel 1..30; pos and val hold n points; titles are drawn as 20 blank-padded characters.
void VPLOT1X(std::int32_t panel, std::int32_t n, const double* pos, const double* val,
             std::string_view axis_title, std::string_view value_title, packed_colour curve_colour);

// Position number: fixed point, 3 decimals, right-aligned in 8; eight asterisks when too wide.
inline std::array<char, 8> FORMAT_POSITION(double v) { return FORMAT_AXIS_FIXED3(v); }
// Value number: 0.ddd mantissa, E, sign, two digits, 9 characters (-.123E+04 for negatives).
std::array<char, 9> FORMAT_VALUE(double v);

}  // namespace orvex
