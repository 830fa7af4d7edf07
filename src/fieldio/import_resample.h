// import_resample.h: a field given on one regular lattice, interpolated onto another, axis by axis.
//
// WHAT IT IS
//   RESAMPLE_AXIS interpolates every line along one axis of a block of values (x fastest, then
//   y, then z) from `from` evenly spaced source nodes (first node, step) to `to` target nodes
//   evenly spaced from target_first to target_last. linear: between the two source nodes around
//   each target, so a field linear along the axis is reproduced; cubic: the cubic through the
//   four source nodes nearest each target (the four at the end of the axis near its ends), so
//   a cubic polynomial along the axis is reproduced. Applied along x, y and z in turn, a
//   trilinear field (linear) or a polynomial of degree 3 in each coordinate (cubic) comes out
//   exact up to rounding.
//
// HOW TO CALL IT
//   std::array<int, 3> counts{49, 49, 401};
//   values = RESAMPLE_AXIS(values, counts, 0, {first_x, step_x}, 25, 0.0, x_last, resampling::cubic);
//   counts[0] = 25;   // and likewise for y (axis 1) and z (axis 2)
//
// ASSUMES AND LIMITS
//   Targets outside the source's span are extrapolated from its end nodes. Linear needs 2 source
//   nodes along the axis and cubic 4; the caller checks.
#pragma once

#include <array>
#include <vector>

namespace orvex::mapimport {

enum class resampling { none, linear, cubic };

struct axis_grid {
    double first = 0.0;
    double step = 1.0;
};

std::vector<double> RESAMPLE_AXIS(const std::vector<double>& values, const std::array<int, 3>& counts, int axis,
                                  const axis_grid& source, int to, double target_first, double target_last,
                                  resampling how);

}  // namespace orvex::mapimport
