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
inline bool AXIS_WEIGHTS(const double* c, int n, double step, interpolation rule, double x, axis_weights& a) {
    if (n < 2 || !(step > 0.0) || !std::isfinite(step)) return false;
    const double tolerance = 1e-9 * step;
    if (!(x >= c[0] - tolerance && x <= c[n - 1] + tolerance)) return false;  // NaN too
    const double cell = std::floor((x - c[0]) / step);
    int i = cell < 0.0 ? 0 : cell > n - 2 ? n - 2 : static_cast<int>(cell);
    // The node coordinates decide the cell, not the rounding of the division: a point on a node
    // lies at the start of that node's cell (or at the end of the last cell).
    while (i > 0 && x < c[i]) --i;
    while (i < n - 2 && x >= c[i + 1]) ++i;
    double t = (x - c[i]) / step;
    if (x == c[i + 1]) t = 1.0;
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
    for (int p = 0; p < 4; ++p) a.w[static_cast<std::size_t>(p)] = from + p <= 3 ? w[static_cast<std::size_t>(from + p)] : 0.0;
    return true;
}

// The sum along x, then y, then z, over nx nodes along x. Sums start from -0, which added to any
// value gives that value (a node's -0 stays -0).
template <int nx>
std::array<double, 3> APPLY_ROWS(const interpolation_stencil& s, const component_triple& f) {
    const axis_weights &ax = s.axis[0], &ay = s.axis[1], &az = s.axis[2];
    const double* const a0 = f[0]->data();
    const double* const a1 = f[1]->data();
    const double* const a2 = f[2]->data();
    std::array<double, nx> w{};
    for (int i = 0; i < nx; ++i) w[static_cast<std::size_t>(i)] = ax.w[static_cast<std::size_t>(i)];
    std::array<double, 3> out{-0.0, -0.0, -0.0};
    for (int k = 0; k < az.count; ++k) {
        std::array<double, 3> plane{-0.0, -0.0, -0.0};
        for (int j = 0; j < ay.count; ++j) {
            const std::size_t row = FULL_INDEX(ax.first + 1, ay.first + j + 1, az.first + k + 1);
            const double* const r0 = a0 + row;
            const double* const r1 = a1 + row;
            const double* const r2 = a2 + row;
            double l0 = -0.0, l1 = -0.0, l2 = -0.0;
            for (int i = 0; i < nx; ++i) {
                const double wi = w[static_cast<std::size_t>(i)];
                l0 += wi * r0[i];
                l1 += wi * r1[i];
                l2 += wi * r2[i];
            }
            const double wy = ay.w[static_cast<std::size_t>(j)];
            plane[0] += wy * l0;
            plane[1] += wy * l1;
            plane[2] += wy * l2;
        }
        const double wz = az.w[static_cast<std::size_t>(k)];
        for (std::size_t c = 0; c < 3; ++c) out[c] += wz * plane[c];
    }
    return out;
}

}  // namespace

std::string_view INTERPOLATION_NAME(interpolation rule) { return rule == interpolation::linear ? "linear" : "cubic"; }

std::optional<interpolation> INTERPOLATION_NAMED(std::string_view word) {
    if (word == "linear") return interpolation::linear;
    if (word == "cubic") return interpolation::cubic;
    return std::nullopt;
}

bool STENCIL(const full_map& m, interpolation rule, double x, double y, double z, interpolation_stencil& s) {
    return m.complete && m.nx <= full_capacity_x && m.ny <= full_capacity_y && m.nz <= full_capacity_z &&
           AXIS_WEIGHTS(m.x.data(), m.nx, m.dx, rule, x, s.axis[0]) && AXIS_WEIGHTS(m.y.data(), m.ny, m.dy, rule, y, s.axis[1]) &&
           AXIS_WEIGHTS(m.z.data(), m.nz, m.dz, rule, z, s.axis[2]);
}

bool AXIS_STENCIL(const full_map& m, char axis, interpolation rule, double coordinate, axis_weights& a) {
    const std::span<const double> c = AXIS_COORDINATES(m, axis);
    return m.complete && AXIS_WEIGHTS(c.data(), static_cast<int>(c.size()), AXIS_STEP(m, axis), rule, coordinate, a);
}

std::array<double, 3> APPLY_STENCIL(const interpolation_stencil& s, const component_triple& f) {
    // Each count of x nodes has its own unrolled sum (the same sums in the same order).
    switch (s.axis[0].count) {
        case 4: return APPLY_ROWS<4>(s, f);
        case 3: return APPLY_ROWS<3>(s, f);
        case 2: return APPLY_ROWS<2>(s, f);
        default: return APPLY_ROWS<1>(s, f);
    }
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
