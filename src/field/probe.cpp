// probe.cpp: the points of a segment and of a circle, and the fields at a point; see probe.h.
#include "field/probe.h"

#include <cmath>
#include <numbers>

namespace orvex {

std::vector<point3> SEGMENT_POINTS(const point3& from, const point3& to, int n) {
    n = n < 2 ? 2 : n;
    const auto count = static_cast<std::size_t>(n);
    std::vector<point3> points(count);
    for (std::size_t c = 0; c < 3; ++c) {
        const double step = (to[c] - from[c]) / static_cast<double>(n - 1);
        for (std::size_t k = 0; k < count; ++k) points[k][c] = static_cast<double>(k) * step + from[c];
        points[count - 1][c] = to[c];
    }
    return points;
}

std::vector<double> SEGMENT_POSITIONS(const point3& from, const point3& to, int n) {
    n = n < 2 ? 2 : n;
    const double dx = to[0] - from[0], dy = to[1] - from[1], dz = to[2] - from[2];
    const double length = std::sqrt(dx * dx + dy * dy + dz * dz);
    const double step = length / static_cast<double>(n - 1);
    std::vector<double> s(static_cast<std::size_t>(n));
    for (std::size_t k = 0; k < s.size(); ++k) s[k] = static_cast<double>(k) * step;
    s.back() = length;
    return s;
}

std::vector<point3> CIRCLE_POINTS(double r, double z, int n) {
    n = n < 1 ? 1 : n;
    std::vector<point3> points(static_cast<std::size_t>(n));
    for (std::size_t k = 0; k < points.size(); ++k) {
        const double a = 2.0 * std::numbers::pi * static_cast<double>(k) / static_cast<double>(n);
        points[k] = {r * std::cos(a), r * std::sin(a), z};
    }
    return points;
}

bool PROBE_AT(const full_map& m, interpolation rule, const point3& at, std::span<const component_triple> triples,
              double* out) {
    interpolation_stencil s;
    if (!STENCIL(m, rule, at[0], at[1], at[2], s)) {
        for (std::size_t v = 0; v < 3 * triples.size(); ++v) out[v] = std::nan("");
        return false;
    }
    for (const component_triple& f : triples) {
        const std::array<double, 3> v = APPLY_STENCIL(s, f);
        *out++ = v[0];
        *out++ = v[1];
        *out++ = v[2];
    }
    return true;
}

std::vector<std::uint32_t> Z_CELL_ORDER(const full_map& m, std::span<const point3> points) {
    const int cells = m.nz > 1 ? m.nz - 1 : 1;
    std::vector<std::uint32_t> bucket(points.size()), start(static_cast<std::size_t>(cells) + 2, 0);
    for (std::size_t k = 0; k < points.size(); ++k) {
        const double c = std::floor((points[k][2] - m.zmin) / m.dz);  // NaN for a point that is no number
        const std::uint32_t b = c >= 0.0 && c < cells ? static_cast<std::uint32_t>(c) : static_cast<std::uint32_t>(cells);
        bucket[k] = b;
        ++start[b + 1];
    }
    for (std::size_t b = 1; b < start.size(); ++b) start[b] += start[b - 1];
    std::vector<std::uint32_t> order(points.size());
    for (std::size_t k = 0; k < points.size(); ++k) order[start[bucket[k]]++] = static_cast<std::uint32_t>(k);
    return order;
}

}  // namespace orvex
