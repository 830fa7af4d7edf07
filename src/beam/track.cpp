// track.cpp: the integrator; see track.h for the equations, the steps and the clock.
//
// The map's z planes (and z0 when it falls inside a cell) cut the track into segments; every
// step ends inside its segment, so the field a step sees along z is one cubic. The entry time
// with a frequency is found by passes over the segments up to z0 only; the last of them is
// kept and the track goes on from z0.
#include "beam/track.h"
#include "beam/track_step.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "console/number_text.h"
#include "field/figures.h"
#include "field/interpolate.h"

namespace orvex {

namespace {

using namespace beam_step;

constexpr double loss_resolution_cm = 1e-6;
constexpr int most_clock_passes = 40;
constexpr double clock_tolerance_rad = 1e-10;

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

std::string RANGE_TEXT(double lo, double hi) {
    std::string out(1, '[');
    out += NUMBER_G(lo, 6);
    out += ", ";
    out += NUMBER_G(hi, 6);
    out += ']';
    return out;
}

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
