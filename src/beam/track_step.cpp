// track_step.cpp: the equations of motion and the integrator's step; see track_step.h and
// track.h.
#include "beam/track_step.h"

#include <algorithm>
#include <cmath>

namespace orvex::beam_step {

namespace {

template <std::size_t count>
std::array<double, count> SUMS_4X4X4(const std::array<const double*, 6>& a, const interpolation_stencil& s) {
    const std::array<double, 4> &wx = s.axis[0].w, &wy = s.axis[1].w, &wz = s.axis[2].w;
    std::array<double, count> sum{};
    for (std::size_t kk = 0; kk < 4; ++kk)
        for (std::size_t jj = 0; jj < 4; ++jj) {
            const double wyz = wy[jj] * wz[kk];
            const std::size_t row = (kk * full_capacity_y + jj) * full_capacity_x;
            for (std::size_t c = 0; c < count; ++c) {
                const double* v = a[c] + row;
                sum[c] += wyz * ((wx[0] * v[0] + wx[1] * v[1]) + (wx[2] * v[2] + wx[3] * v[3]));
            }
        }
    return sum;
}

// The field's components at the stencil's point: APPLY_STENCIL's sums, with the loops fixed at
// 4 x 4 x 4 nodes and both fields in one pass when the point lies away from the grid's ends
// (the same weights, summed in another order: equal to rounding).
void FIELDS_AT(const tracker& k, const interpolation_stencil& s, std::array<double, 3>& e, std::array<double, 3>& b) {
    const axis_weights &ax = s.axis[0], &ay = s.axis[1], &az = s.axis[2];
    if (ax.count != 4 || ay.count != 4 || az.count != 4) {
        if (k.has_e) e = APPLY_STENCIL(s, k.e);
        if (k.has_b) b = APPLY_STENCIL(s, k.b);
        return;
    }
    std::array<const double*, 6> a{};
    std::size_t n = 0;
    const std::size_t origin = FULL_INDEX(ax.first + 1, ay.first + 1, az.first + 1);
    if (k.has_e)
        for (const full_array* f : k.e) a[n++] = f->data() + origin;
    if (k.has_b)
        for (const full_array* f : k.b) a[n++] = f->data() + origin;
    if (n == 6) {
        const std::array<double, 6> sum = SUMS_4X4X4<6>(a, s);
        e = {sum[0], sum[1], sum[2]};
        b = {sum[3], sum[4], sum[5]};
    } else if (n == 3) {
        const std::array<double, 3> sum = SUMS_4X4X4<3>(a, s);
        (k.has_e ? e : b) = sum;
    }
}

}  // namespace

step_status DERIV(const tracker& k, double z, const state& u, state& du, evaluation* seen) {
    interpolation_stencil s;
    if (!STENCIL(k.m, interpolation::cubic, u[0], u[1], z, s)) return std::isnan(u[0] + u[1]) ? step_status::not_finite : step_status::outside;
    const double w = k.w0 + u[4];
    const double pz2 = w * (w + 2.0 * k.mass) - u[2] * u[2] - u[3] * u[3];
    if (!(pz2 > 0.0)) return std::isnan(pz2) ? step_status::not_finite : step_status::turned_back;
    const double pz = std::sqrt(pz2);
    const double xp = u[2] / pz, yp = u[3] / pz, inv_beta_z = (w + k.mass) / pz;
    std::array<double, 3> e{0.0, 0.0, 0.0}, b{0.0, 0.0, 0.0};
    FIELDS_AT(k, s, e, b);
    if (seen != nullptr) {
        seen->e_abs = std::sqrt(e[0] * e[0] + e[1] * e[1] + e[2] * e[2]);
        seen->b_abs = std::sqrt(b[0] * b[0] + b[1] * b[1] + b[2] * b[2]);
    }
    double fe = k.q_mev, fb = k.q_mev * c_b_per_gauss;
    if (k.omega != 0.0) {
        const double phase = k.omega * u[5] + k.phi;
        fe *= std::cos(phase);
        fb *= std::sin(phase);
    }
    for (std::size_t c = 0; c < 3; ++c) e[c] *= fe, b[c] *= fb;
    du[0] = xp;
    du[1] = yp;
    du[2] = e[0] * inv_beta_z + yp * b[2] - b[1];
    du[3] = e[1] * inv_beta_z + b[0] - xp * b[2];
    du[4] = e[0] * xp + e[1] * yp + e[2];
    du[5] = inv_beta_z / light_speed_cm_per_ns;
    for (const double d : du)
        if (!std::isfinite(d)) return step_status::not_finite;
    return step_status::ok;
}

// One step of length h from (z, u) by Gragg's modified midpoint rule with 2, 4, 6 and 8
// substeps, extrapolated to substeps of length 0 (its error is a series in even powers of the
// substep: Neville's scheme in h^2 gives order 8); f0 is the derivative at (z, u).
step_status STEP(const tracker& k, double z, double h, const state& u, const state& f0, state& out) {
    constexpr std::array<int, 4> substeps{2, 4, 6, 8};
    std::array<state, substeps.size()> row{}, previous{};  // the tableau's current and previous rows
    for (std::size_t j = 0; j < substeps.size(); ++j) {
        const int n = substeps[j];
        const double g = h / n;
        state before = u, here, d;
        for (std::size_t c = 0; c < 6; ++c) here[c] = u[c] + g * f0[c];
        for (int m = 1; m < n; ++m) {
            if (const step_status s = DERIV(k, z + g * m, here, d); s != step_status::ok) return s;
            for (std::size_t c = 0; c < 6; ++c) {
                const double next = before[c] + 2.0 * g * d[c];
                before[c] = here[c];
                here[c] = next;
            }
        }
        if (const step_status s = DERIV(k, z + h, here, d); s != step_status::ok) return s;
        for (std::size_t c = 0; c < 6; ++c) row[0][c] = 0.5 * (here[c] + before[c] + g * d[c]);
        for (std::size_t e = 1; e <= j; ++e) {
            const double ratio = static_cast<double>(n) / substeps[j - e];
            const double scale = 1.0 / (ratio * ratio - 1.0);
            for (std::size_t c = 0; c < 6; ++c) row[e][c] = row[e - 1][c] + (row[e - 1][c] - previous[e - 1][c]) * scale;
        }
        previous = row;
    }
    out = row[substeps.size() - 1];
    return step_status::ok;
}

// The same from a state whose derivative is not yet known.
step_status STEP(const tracker& k, double z, double h, const state& u, state& out) {
    state f0;
    if (const step_status s = DERIV(k, z, u, f0); s != step_status::ok) return s;
    return STEP(k, z, h, u, f0, out);
}

track_point POINT(const tracker& k, double z, const state& u) {
    const double w = k.w0 + u[4];
    const double pz = std::sqrt(std::max(w * (w + 2.0 * k.mass) - u[2] * u[2] - u[3] * u[3], 0.0));
    return {z, u[0], u[1], 1e3 * u[2] / pz, 1e3 * u[3] / pz, w, u[5]};
}

namespace {

// The transverse gradients of the two fields near a point (Frobenius norm of the central
// differences in x and y at the nearest node: V/cm^2, Gs/cm), for the focusing the steps follow.
std::array<double, 2> GRADIENTS(const tracker& k, double z, double x, double y) {
    const full_map& m = k.m;
    const int i = NEAREST_NODE_AT(m, 'x', x), j = NEAREST_NODE_AT(m, 'y', y), n = NEAREST_NODE_AT(m, 'z', z);
    const int i0 = std::max(1, i - 1), i1 = std::min(m.nx, i + 1), j0 = std::max(1, j - 1), j1 = std::min(m.ny, j + 1);
    const double sx = m.x[static_cast<std::size_t>(i1 - 1)] - m.x[static_cast<std::size_t>(i0 - 1)];
    const double sy = m.y[static_cast<std::size_t>(j1 - 1)] - m.y[static_cast<std::size_t>(j0 - 1)];
    std::array<double, 2> g{0.0, 0.0};
    const std::array<const component_triple*, 2> fields{k.has_e ? &k.e : nullptr, k.has_b ? &k.b : nullptr};
    for (std::size_t f = 0; f < 2; ++f) {
        if (fields[f] == nullptr) continue;
        double sum = 0.0;
        for (const full_array* a : *fields[f]) {
            const double dx = ((*a)[FULL_INDEX(i1, j, n)] - (*a)[FULL_INDEX(i0, j, n)]) / sx;
            const double dy = ((*a)[FULL_INDEX(i, j1, n)] - (*a)[FULL_INDEX(i, j0, n)]) / sy;
            sum += dx * dx + dy * dy;
        }
        g[f] = std::sqrt(sum);
    }
    return g;
}

}  // namespace

// Steps for a segment of length len from the state u whose derivative is d and field seen f:
// each step advances the RF phase, the turn in B, the relative change of momentum in E, the
// betatron phase of the focusing by either field and the cells crossed by at most
// advance_per_step.
std::int32_t STEPS_FOR(const tracker& k, double z, double len, const state& u, const state& d, const evaluation& f) {
    const double w = k.w0 + u[4];
    const double pc = std::sqrt(w * (w + 2.0 * k.mass));
    const double inv_beta_z = d[5] * light_speed_cm_per_ns;
    const double q = std::fabs(k.q_mev);
    const std::array<double, 2> g = GRADIENTS(k, z, u[0], u[1]);
    const double rates[] = {k.omega * d[5],                                         // RF phase
                            q * c_b_per_gauss * f.b_abs / pc,                       // turn in B
                            q * f.e_abs * inv_beta_z / pc,                          // momentum change in E
                            std::sqrt(q * c_b_per_gauss * g[1] / pc),               // focusing by B
                            std::sqrt(q * g[0] * inv_beta_z / pc),                  // focusing by E
                            std::fabs(d[0]) / k.m.dx + std::fabs(d[1]) / k.m.dy};  // cells crossed
    double rate = 0.0;
    for (const double r : rates) rate = std::max(rate, r);
    const double wanted = std::ceil(std::fabs(len) * rate / advance_per_step);
    if (!(wanted >= 1.0)) return 1;
    return static_cast<std::int32_t>(std::min<double>(wanted, most_steps_per_cell));
}

}  // namespace orvex::beam_step
