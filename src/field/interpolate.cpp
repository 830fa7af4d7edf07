// interpolate.cpp: the two interpolation rules of the full map; see interpolate.h.
//
// Each axis gives the nodes a point needs and their weights (the 1-D rule gathered by node,
// the extrapolated end nodes folded into the nodes they are made of); the value is then the sum
// along x, then y, then z. Weights that are exactly 0 at either end are dropped, so a point on a
// node reads that node alone.
#include "field/interpolate.h"

#include <cmath>

namespace orvex {

namespace {

// The nodes and weights of a point along one axis (count nodes, coordinates c, step); false
// when the point lies beyond the axis by more than 1e-9 of a step or the axis is unusable.
bool AXIS_WEIGHTS(std::span<const double> c, double step, interpolation rule, double x, axis_weights& a) {
    const int n = static_cast<int>(c.size());
    if (n < 2 || !(step > 0.0) || !std::isfinite(step)) return false;
    const double tolerance = 1e-9 * step;
    if (!(x >= c[0] - tolerance && x <= c[static_cast<std::size_t>(n - 1)] + tolerance)) return false;  // NaN too
    const double cell = std::floor((x - c[0]) / step);
    int i = cell < 0.0 ? 0 : cell > n - 2 ? n - 2 : static_cast<int>(cell);
    // The node coordinates decide the cell, not the rounding of the division: a point on a node
    // lies at the start of that node's cell (or at the end of the last cell).
    while (i > 0 && x < c[static_cast<std::size_t>(i)]) --i;
    while (i < n - 2 && x >= c[static_cast<std::size_t>(i + 1)]) ++i;
    double t = (x - c[static_cast<std::size_t>(i)]) / step;
    if (x == c[static_cast<std::size_t>(i + 1)]) t = 1.0;
    t = t < 0.0 ? 0.0 : t > 1.0 ? 1.0 : t;

    std::array<double, 4> w{};  // nodes i - 1 .. i + 2
    if (rule == interpolation::linear) {
        w = {0.0, 1.0 - t, t, 0.0};
    } else {
        const double t2 = t * t, t3 = t2 * t;
        const double h00 = 2.0 * t3 - 3.0 * t2 + 1.0, h10 = t3 - 2.0 * t2 + t;
        const double h01 = -2.0 * t3 + 3.0 * t2, h11 = t3 - t2;
        // h00 f(i) + h10 (f(i+1) - f(i-1)) / 2 + h01 f(i+1) + h11 (f(i+2) - f(i)) / 2, by node.
        w = {-h10 / 2.0, h00 - h11 / 2.0, h01 + h10 / 2.0, h11 / 2.0};
        if (i == 0) {  // f(-1) = 2 f(0) - f(1)
            w[1] += 2.0 * w[0];
            w[2] -= w[0];
            w[0] = 0.0;
        }
        if (i == n - 2) {  // f(n) = 2 f(n-1) - f(n-2)
            w[2] += 2.0 * w[3];
            w[1] -= w[3];
            w[3] = 0.0;
        }
    }
    int from = 0, to = 3;
    while (from < to && w[static_cast<std::size_t>(from)] == 0.0) ++from;
    while (to > from && w[static_cast<std::size_t>(to)] == 0.0) --to;
    a.first = i - 1 + from;
    a.count = to - from + 1;
    for (int p = 0; p < a.count; ++p) a.w[static_cast<std::size_t>(p)] = w[static_cast<std::size_t>(from + p)];
    return true;
}

}  // namespace

std::string_view INTERPOLATION_NAME(interpolation rule) { return rule == interpolation::linear ? "linear" : "cubic"; }

std::optional<interpolation> INTERPOLATION_NAMED(std::string_view word) {
    if (word == "linear") return interpolation::linear;
    if (word == "cubic") return interpolation::cubic;
    return std::nullopt;
}

bool STENCIL(const full_map& m, interpolation rule, double x, double y, double z, interpolation_stencil& s) {
    return m.complete && AXIS_WEIGHTS(AXIS_COORDINATES(m, 'x'), m.dx, rule, x, s.axis[0]) &&
           AXIS_WEIGHTS(AXIS_COORDINATES(m, 'y'), m.dy, rule, y, s.axis[1]) &&
           AXIS_WEIGHTS(AXIS_COORDINATES(m, 'z'), m.dz, rule, z, s.axis[2]);
}

bool AXIS_STENCIL(const full_map& m, char axis, interpolation rule, double coordinate, axis_weights& a) {
    return m.complete && AXIS_WEIGHTS(AXIS_COORDINATES(m, axis), AXIS_STEP(m, axis), rule, coordinate, a);
}

std::array<double, 3> APPLY_STENCIL(const interpolation_stencil& s, const component_triple& f) {
    const axis_weights &ax = s.axis[0], &ay = s.axis[1], &az = s.axis[2];
    const double* const a0 = f[0]->data();
    const double* const a1 = f[1]->data();
    const double* const a2 = f[2]->data();
    // Sums start from -0, which added to any value gives that value (a node's -0 stays -0).
    std::array<double, 3> out{-0.0, -0.0, -0.0};
    for (int k = 0; k < az.count; ++k) {
        std::array<double, 3> plane{-0.0, -0.0, -0.0};
        for (int j = 0; j < ay.count; ++j) {
            const std::size_t row = FULL_INDEX(ax.first + 1, ay.first + j + 1, az.first + k + 1);
            std::array<double, 3> line{-0.0, -0.0, -0.0};
            for (int i = 0; i < ax.count; ++i) {
                const double w = ax.w[static_cast<std::size_t>(i)];
                const std::size_t at = row + static_cast<std::size_t>(i);
                line[0] += w * a0[at];
                line[1] += w * a1[at];
                line[2] += w * a2[at];
            }
            const double wy = ay.w[static_cast<std::size_t>(j)];
            for (std::size_t c = 0; c < 3; ++c) plane[c] += wy * line[c];
        }
        const double wz = az.w[static_cast<std::size_t>(k)];
        for (std::size_t c = 0; c < 3; ++c) out[c] += wz * plane[c];
    }
    return out;
}

bool INTERPOLATE(const full_map& m, int field, interpolation rule, double x, double y, double z,
                 std::array<double, 3>& out) {
    interpolation_stencil s;
    if (!STENCIL(m, rule, x, y, z, s)) {
        out.fill(std::nan(""));
        return false;
    }
    out = APPLY_STENCIL(s, FIELD_TRIPLE(m, field));
    return true;
}

}  // namespace orvex
