// compare.cpp: the other map read at this map's nodes, and the differences; see compare.h.
//
// The other map is read on this map's whole lattice axis by axis: each row of the other along x
// is weighed at this map's x nodes, those rows along y at its y nodes, and those along z at its
// z nodes. The sums start from -0 and run over the same nodes with the same weights in the same
// order as APPLY_STENCIL's (x, then y, then z), so every value is the one INTERPOLATE gives,
// for a fifth of the work of a stencil per node.
#include "field/compare.h"

#include <cmath>
#include <cstddef>
#include <limits>
#include <span>

namespace orvex {

namespace {

constexpr std::array<char, 3> axis_letters{'x', 'y', 'z'};
constexpr double not_a_number = std::numeric_limits<double>::quiet_NaN();

bool INSIDE(const map_pairing& p, grid_node n) {
    return p.reading[0][static_cast<std::size_t>(n.i - 1)].count > 0 &&
           p.reading[1][static_cast<std::size_t>(n.j - 1)].count > 0 &&
           p.reading[2][static_cast<std::size_t>(n.k - 1)].count > 0;
}

// sum from -0 of w[q] x v[first + q] x stride apart, in q order.
double WEIGH(const axis_weights& w, const double* v, std::size_t stride) {
    double sum = -0.0;
    for (int q = 0; q < w.count; ++q)
        sum += w.w[static_cast<std::size_t>(q)] * v[static_cast<std::size_t>(w.first + q) * stride];
    return sum;
}

}  // namespace

void PAIR_MAPS(const full_map& self, const full_map& other, map_pairing& out) {
    out.self = &self;
    out.other = &other;
    std::int64_t inside_all = 1, total = 1;
    bool same_counts = true;
    for (std::size_t a = 0; a < 3; ++a) {
        const char axis = axis_letters[a];
        const std::span<const double> mine = AXIS_COORDINATES(self, axis);
        const std::span<const double> theirs = AXIS_COORDINATES(other, axis);
        const double tolerance = 1e-9 * AXIS_STEP(other, axis);
        std::vector<axis_weights>& reading = out.reading[a];
        reading.assign(mine.size(), axis_weights{});
        bool on_nodes = true;
        std::int64_t inside = 0;
        for (std::size_t n = 0; n < mine.size(); ++n) {
            axis_weights w;
            if (!AXIS_STENCIL(other, axis, interpolation::cubic, mine[n], w)) continue;  // count 0: beyond
            const int near = NEAREST_NODE_AT(other, axis, mine[n]);
            if (std::fabs(mine[n] - theirs[static_cast<std::size_t>(near - 1)]) <= tolerance) {
                w = axis_weights{near - 1, 1, {1.0, 0.0, 0.0, 0.0}};
            } else {
                on_nodes = false;
            }
            reading[n] = w;
            ++inside;
        }
        out.on_nodes[a] = on_nodes;
        same_counts = same_counts && mine.size() == theirs.size();
        inside_all *= inside;
        total *= static_cast<std::int64_t>(mine.size());
    }
    out.compared = inside_all;
    out.left_out = total - inside_all;
    out.coincide = same_counts && out.left_out == 0 && out.on_nodes[0] && out.on_nodes[1] && out.on_nodes[2];
}

bool OTHER_AT_NODE(const map_pairing& p, int field, grid_node n, std::array<double, 3>& out) {
    out.fill(not_a_number);
    if (p.self == nullptr || !MAP_CARRIES(*p.other, field) || n.i < 1 || n.j < 1 || n.k < 1 || n.i > static_cast<int>(p.reading[0].size()) ||
        n.j > static_cast<int>(p.reading[1].size()) || n.k > static_cast<int>(p.reading[2].size()) || !INSIDE(p, n))
        return false;
    interpolation_stencil s;
    s.axis = {p.reading[0][static_cast<std::size_t>(n.i - 1)], p.reading[1][static_cast<std::size_t>(n.j - 1)],
              p.reading[2][static_cast<std::size_t>(n.k - 1)]};
    out = APPLY_STENCIL(s, FIELD_TRIPLE(*p.other, field));
    return true;
}

void OTHER_ALONG_LINE(const map_pairing& p, int field, char axis, grid_node through,
                      std::array<std::vector<double>, 3>& out) {
    const int count = p.self == nullptr ? 0 : AXIS_NODES(*p.self, axis);
    for (std::vector<double>& v : out) v.assign(static_cast<std::size_t>(std::max(count, 0)), not_a_number);
    std::array<double, 3> at{};
    for (int n = 1; n <= count; ++n) {
        grid_node node = through;
        (axis == 'x' ? node.i : axis == 'y' ? node.j : node.k) = n;
        OTHER_AT_NODE(p, field, node, at);
        for (std::size_t c = 0; c < 3; ++c) out[c][static_cast<std::size_t>(n - 1)] = at[c];
    }
}

namespace {

// The other's rows weighed along x (one plane of the other at a time) and along y (every plane).
struct resampling_space {
    std::vector<double> along_x, along_y;
};

void RESAMPLE(const map_pairing& p, int c, std::vector<double>& out, resampling_space& space) {
    const auto nx = p.reading[0].size(), ny = p.reading[1].size(), nz = p.reading[2].size();
    out.assign(nx * ny * nz, not_a_number);
    if (p.compared == 0 || !MAP_CARRIES(*p.other, c / 3)) return;
    const full_map& o = *p.other;
    const auto oy = static_cast<std::size_t>(o.ny), oz = static_cast<std::size_t>(o.nz);
    const double* const a = COMPONENT_ARRAY(o, c).data();
    space.along_x.assign(oy * nx, 0.0);
    space.along_y.assign(oz * ny * nx, 0.0);
    for (std::size_t k = 0; k < oz; ++k) {
        // Along x: the plane's rows of the other at this map's x nodes.
        for (std::size_t j = 0; j < oy; ++j) {
            const double* row = a + FULL_INDEX(1, static_cast<int>(j + 1), static_cast<int>(k + 1));
            double* to = space.along_x.data() + j * nx;
            for (std::size_t i = 0; i < nx; ++i)
                if (p.reading[0][i].count > 0) to[i] = WEIGH(p.reading[0][i], row, 1);
        }
        // Along y: those rows at this map's y nodes.
        for (std::size_t j = 0; j < ny; ++j) {
            if (p.reading[1][j].count == 0) continue;
            double* to = space.along_y.data() + (k * ny + j) * nx;
            for (std::size_t i = 0; i < nx; ++i) to[i] = WEIGH(p.reading[1][j], space.along_x.data() + i, nx);
        }
    }
    // Along z: this map's nodes.
    for (std::size_t k = 0; k < nz; ++k) {
        if (p.reading[2][k].count == 0) continue;
        for (std::size_t j = 0; j < ny; ++j) {
            if (p.reading[1][j].count == 0) continue;
            double* to = out.data() + (k * ny + j) * nx;
            const double* from = space.along_y.data() + j * nx;
            for (std::size_t i = 0; i < nx; ++i)
                if (p.reading[0][i].count > 0) to[i] = WEIGH(p.reading[2][k], from + i, ny * nx);
        }
    }
}

}  // namespace

void OTHER_AT_NODES(const map_pairing& p, int c, std::vector<double>& out) {
    resampling_space space;
    RESAMPLE(p, c, out, space);
}

field_difference COMPARE_FIELD(const map_pairing& p, int field) {
    field_difference d;
    d.field = field == 1 ? 1 : 0;
    const full_map& me = *p.self;
    const component_triple mine = FIELD_TRIPLE(me, d.field);
    double largest = -1.0;
    for (int k = 1; k <= me.nz; ++k)
        for (int j = 1; j <= me.ny; ++j)
            for (int i = 1; i <= me.nx; ++i) {
                const std::size_t at = FULL_INDEX(i, j, k);
                const double x = (*mine[0])[at], y = (*mine[1])[at], z = (*mine[2])[at];
                const double f = std::sqrt(x * x + y * y + z * z);
                if (std::isfinite(f) && f > largest) largest = f;
            }
    if (largest >= 0.0) d.largest_magnitude = largest;

    std::vector<double> theirs;
    resampling_space space;
    for (std::size_t c = 0; c < 3; ++c) {
        RESAMPLE(p, 3 * d.field + static_cast<int>(c), theirs, space);
        component_difference& r = d.components[c];
        double squares = 0.0;
        std::size_t n = 0;
        for (int k = 1; k <= me.nz; ++k)
            for (int j = 1; j <= me.ny; ++j)
                for (int i = 1; i <= me.nx; ++i, ++n) {
                    if (!INSIDE(p, {i, j, k})) continue;
                    const double v = (*mine[c])[FULL_INDEX(i, j, k)], w = theirs[n];
                    const double diff = v - w;
                    if (!std::isfinite(diff)) {
                        ++r.not_finite;
                        continue;
                    }
                    squares += diff * diff;
                    if (++r.nodes == 1 || std::fabs(diff) > r.largest) {
                        r.largest = std::fabs(diff);
                        r.at = {i, j, k};
                        r.this_value = v;
                        r.other_value = w;
                    }
                }
        if (r.nodes > 0) r.rms = std::sqrt(squares / static_cast<double>(r.nodes));
    }
    return d;
}

}  // namespace orvex
