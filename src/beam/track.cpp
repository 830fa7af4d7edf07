// track.cpp: the integrator; see track.h for the equations, the steps and the clock.
//
// The map's z planes (and z0 when it falls inside a cell) cut the track into segments; every
// step ends inside its segment, so the field a step sees along z is one cubic. The entry time
// with a frequency is found by passes over the segments up to z0 only; the last of them is
// kept and the track goes on from z0.
#include "beam/track.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "console/number_text.h"
#include "field/figures.h"
#include "field/interpolate.h"

namespace orvex {

namespace {

constexpr double c_b_per_gauss = 299.792458;      // c B in V/cm for B = 1 Gs
constexpr double advance_per_step = 0.25;           // phase, turn, momentum change per step
constexpr double loss_resolution_cm = 1e-6;
constexpr std::int64_t most_steps_per_cell = 100'000;
constexpr int most_clock_passes = 40;
constexpr double clock_tolerance_rad = 1e-10;

using state = std::array<double, 6>;  // x, y, px c, py c, W - W0, t (the gain kept apart from W0: no rounding of W)
enum class step_status { ok, outside, turned_back, not_finite };

struct tracker {
    const full_map& m;
    component_triple e{}, b{};
    bool has_e = false, has_b = false;
    double mass = 0.0, q_mev = 0.0;  // charge x 1e-6: eV to MeV
    double w0 = 0.0;                 // kinetic energy at entry, MeV
    double omega = 0.0, phi = 0.0;   // rad/ns, rad (omega 0: static)
};

struct evaluation {
    double e_abs = 0.0, b_abs = 0.0;  // |E(x)|, |B(x)| at the point (V/cm, Gs)
};

// Sums of count arrays over 4 x 4 x 4 nodes from their first node, with the axes' weights.
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

step_status DERIV(const tracker& k, double z, const state& u, state& du, evaluation* seen = nullptr) {
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

struct pass {
    double z = 0.0;
    state u{};
    step_status status = step_status::ok;
    std::int64_t steps = 0;
};

// From a failed step of length h at (p.z, p.u): halves the step down to loss_resolution_cm.
// Either the particle is lost (status set, p at the last point inside) or the smaller steps
// reach z + h after all (status ok).
void LOCATE_LOSS(const tracker& k, pass& p, double h, step_status why, std::vector<track_point>* path) {
    const double end = p.z + h;
    while (std::fabs(h) > loss_resolution_cm) {
        h /= 2.0;
        while (true) {
            const double step = std::fabs(end - p.z) < std::fabs(h) ? end - p.z : h;
            state next;
            const step_status s = STEP(k, p.z, step, p.u, next);
            if (s != step_status::ok) {
                why = s;
                break;
            }
            p.u = next;
            p.z = step == h ? p.z + h : end;
            ++p.steps;
            if (path != nullptr) path->push_back(POINT(k, p.z, p.u));
            if (p.z == end) return;
        }
    }
    p.status = why;
}

// Integrates segments [from, to) of the breakpoints, following or filling the plan.
void INTEGRATE(const tracker& k, const std::vector<double>& cuts, std::size_t from, std::size_t to, pass& p,
               std::vector<std::int32_t>& plan, bool plan_given, int refinement, std::vector<track_point>* path) {
    for (std::size_t s = from; s < to; ++s) {
        const double za = cuts[s], zb = cuts[s + 1], len = zb - za;
        state k1;
        evaluation seen;
        if (const step_status st = DERIV(k, za, p.u, k1, &seen); st != step_status::ok) {
            LOCATE_LOSS(k, p, len, st, path);
            if (p.status != step_status::ok) return;
            continue;
        }
        if (!plan_given) plan[s] = STEPS_FOR(k, za, len, p.u, k1, seen);
        const std::int64_t n = std::int64_t{plan[s]} * refinement;
        for (std::int64_t i = 0; i < n; ++i) {
            const double z = i == 0 ? za : za + len * static_cast<double>(i) / static_cast<double>(n);
            const double z_next = i + 1 == n ? zb : za + len * static_cast<double>(i + 1) / static_cast<double>(n);
            state next;
            if (i > 0) {
                if (const step_status st = DERIV(k, z, p.u, k1); st != step_status::ok) {
                    p.z = z;
                    LOCATE_LOSS(k, p, z_next - z, st, path);
                    if (p.status != step_status::ok) return;
                    continue;
                }
            }
            const step_status st = STEP(k, z, z_next - z, p.u, k1, next);
            if (st != step_status::ok) {
                p.z = z;
                LOCATE_LOSS(k, p, z_next - z, st, path);
                if (p.status != step_status::ok) return;
                continue;
            }
            p.u = next;
            p.z = z_next;
            ++p.steps;
            if (path != nullptr) path->push_back(POINT(k, p.z, p.u));
        }
    }
}

track_loss LOSS_OF(step_status s) {
    return s == step_status::ok ? track_loss::none
           : s == step_status::outside ? track_loss::left_region
           : s == step_status::turned_back ? track_loss::turned_back
                                            : track_loss::field_not_finite;
}

std::string RANGE_TEXT(double lo, double hi) { return "[" + NUMBER_G(lo, 6) + ", " + NUMBER_G(hi, 6) + "]"; }

}  // namespace

std::string_view LOSS_TEXT(track_loss loss) {
    switch (loss) {
        case track_loss::left_region: return "left the transverse region";
        case track_loss::turned_back: return "turned back";
        case track_loss::field_not_finite: return "met a field value that is not finite";
        default: return "";
    }
}

std::string TRACK_REFUSAL(const full_map& m, const track_request& r) {
    if (!m.complete || m.nx < 2 || m.ny < 2 || m.nz < 2) return "the map has too few nodes to track through";
    if (!(r.energy_mev > 0.0) || !std::isfinite(r.energy_mev)) return "the kinetic energy must be a number of MeV above 0";
    if (!(r.who.mass_mev > 0.0) || !std::isfinite(r.who.mass_mev) || !(r.who.charge != 0.0) || !std::isfinite(r.who.charge))
        return "the particle " + std::string(particle_rule.substr(6));
    if (r.frequency_mhz && !FREQUENCY_USABLE(*r.frequency_mhz)) return "the frequency " + std::string(frequency_rule);
    if (!std::isfinite(r.phase_deg) || !std::isfinite(r.xp_mrad) || !std::isfinite(r.yp_mrad))
        return "the phase and the slopes must be numbers";
    interpolation_stencil s;
    if (!STENCIL(m, interpolation::cubic, r.x_cm, r.y_cm, m.z[0], s))
        return "the start (x, y) = (" + NUMBER_G(r.x_cm, 6) + ", " + NUMBER_G(r.y_cm, 6) +
               ") cm lies outside the map's transverse region x in " + RANGE_TEXT(m.x[0], m.x[static_cast<std::size_t>(m.nx - 1)]) +
               ", y in " + RANGE_TEXT(m.y[0], m.y[static_cast<std::size_t>(m.ny - 1)]) + " cm";
    return {};
}

track_result TRACK(const full_map& m, const track_request& r, const track_options& options) {
    tracker k{m};
    k.has_e = MAP_CARRIES(m, 0), k.has_b = MAP_CARRIES(m, 1);
    if (k.has_e) k.e = FIELD_TRIPLE(m, 0);
    if (k.has_b) k.b = FIELD_TRIPLE(m, 1);
    k.mass = r.who.mass_mev;
    k.w0 = r.energy_mev;
    k.q_mev = r.who.charge * 1e-6;
    if (r.frequency_mhz) {
        k.omega = 2.0 * std::numbers::pi * *r.frequency_mhz * 1e-3;  // MHz to rad/ns
        k.phi = r.phase_deg * std::numbers::pi / 180.0;
    }

    // The segments: the z planes, and z0 when it falls inside a cell.
    const double z0 = RF_TIME_ORIGIN(m);
    std::vector<double> cuts(m.z.begin(), m.z.begin() + m.nz);
    std::size_t at_origin = 0;
    while (at_origin + 1 < cuts.size() && cuts[at_origin] < z0) ++at_origin;
    if (cuts[at_origin] != z0 && at_origin > 0 && z0 < cuts[at_origin]) cuts.insert(cuts.begin() + static_cast<std::ptrdiff_t>(at_origin), z0);
    const std::size_t segments = cuts.size() - 1;

    track_result out;
    const bool plan_given = options.plan != nullptr && options.plan->size() == segments;
    out.plan = plan_given ? *options.plan : std::vector<std::int32_t>(segments, 1);
    const int refinement = std::max(1, options.refinement);

    // The entry state.
    const double pc = MOMENTUM_MEV(r.who, r.energy_mev);
    const double xp = r.xp_mrad * 1e-3, yp = r.yp_mrad * 1e-3;
    const double norm = std::sqrt(1.0 + xp * xp + yp * yp);
    state entry{r.x_cm, r.y_cm, pc * xp / norm, pc * yp / norm, 0.0, 0.0};
    const double pz = pc / norm;

    std::vector<track_point>* path = options.trajectory;
    pass p;
    double tau = 0.0;  // the clock at entry of the last pass
    // One pass to z0 from the entry time tau; the time there.
    const auto to_origin = [&](double entry_time) {
        tau = entry_time;
        p = pass{cuts[0], entry};
        p.u[5] = tau;
        if (path != nullptr) path->assign(1, POINT(k, p.z, p.u));
        INTEGRATE(k, cuts, 0, at_origin, p, out.plan, plan_given, refinement, path);
        ++out.clock_iterations;
        return p.u[5];
    };
    if (options.entry_time_ns || k.omega == 0.0 || at_origin == 0) {
        to_origin(options.entry_time_ns.value_or(0.0));
    } else {
        // The secant method on tau -> t(z0), from the guess or the time at constant speed.
        double tau_a = options.entry_time_guess_ns.value_or(-(z0 - cuts[0]) * (r.energy_mev + k.mass) /
                                                             (pz * light_speed_cm_per_ns));
        double r_a = to_origin(tau_a);
        double tau_b = tau_a - r_a;
        while (p.status == step_status::ok && std::fabs(r_a) * k.omega > clock_tolerance_rad &&
               out.clock_iterations < most_clock_passes) {
            const double r_b = to_origin(tau_b);
            if (p.status != step_status::ok || std::fabs(r_b) * k.omega <= clock_tolerance_rad) break;
            double slope = (r_b - r_a) / (tau_b - tau_a);
            if (!std::isfinite(slope) || slope == 0.0) slope = 1.0;
            tau_a = tau_b, r_a = r_b;
            tau_b = tau_b - r_b / slope;
        }
    }
    const bool reached_origin = p.status == step_status::ok;
    const double clock_at_origin = p.u[5];
    if (reached_origin) INTEGRATE(k, cuts, at_origin, segments, p, out.plan, plan_given, refinement, path);

    // The clock reads 0 at z0 (to rounding with a frequency, exactly without one); a clock
    // given at entry is kept as it is.
    const double shift = !options.entry_time_ns && reached_origin ? clock_at_origin : 0.0;
    out.entry_clock_ns = tau;
    out.origin_clock_ns = reached_origin ? clock_at_origin : std::nan("");
    out.loss = LOSS_OF(p.status);
    out.entry = POINT(k, cuts[0], entry);
    out.entry.xp = r.xp_mrad, out.entry.yp = r.yp_mrad;
    out.entry.t = tau - shift;
    out.last = POINT(k, p.z, p.u);
    out.last.t -= shift;
    if (path != nullptr)
        for (track_point& q : *path) q.t -= shift;
    out.gain_mev = p.u[4];
    out.time_of_flight_ns = out.last.t - out.entry.t;
    out.steps = p.steps;
    return out;
}

}  // namespace orvex
