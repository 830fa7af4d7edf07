// track_step.h: the integrator's step, shared by track.cpp and track_step.cpp; callers use
// track.h.
//
// WHAT IT IS
//   The state of a particle with z as the independent variable, the equations of motion
//   (DERIV: the derivative of the state, the fields interpolated by the cubic rule), one step
//   of the order-8 extrapolated midpoint rule (STEP), and how many steps a cell takes
//   (STEPS_FOR); see track.h for the equations and the rules.
//
// HOW TO CALL IT
//   tracker k{map};  ... set its fields;   state d;  if (DERIV(k, z, u, d) == step_status::ok) ...
//
// ASSUMES AND LIMITS
//   The tracker's triples are unfolded; every procedure only reads the map.
#pragma once

#include <array>
#include <cstdint>

#include "beam/track.h"
#include "field/interpolate.h"

namespace orvex::beam_step {

inline constexpr double c_b_per_gauss = 299.792458;  // c B in V/cm for B = 1 Gs
inline constexpr double advance_per_step = 0.25;     // RF phase, turn, betatron phase per step
inline constexpr std::int64_t most_steps_per_cell = 100'000;

// x, y, px c, py c, W - W0, t: the gain kept apart from W0, so it is not rounded to W's digits.
using state = std::array<double, 6>;
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

// The derivative du/dz at (z, u); seen, when given, gets the field's sizes there.
step_status DERIV(const tracker& k, double z, const state& u, state& du, evaluation* seen = nullptr);

// One step of length h from (z, u), f0 the derivative there (or not yet known).
step_status STEP(const tracker& k, double z, double h, const state& u, const state& f0, state& out);
step_status STEP(const tracker& k, double z, double h, const state& u, state& out);

// The particle at (z, u) as cm, mrad, MeV, ns.
track_point POINT(const tracker& k, double z, const state& u);

// Steps for a cell of length len from u, whose derivative is d and field seen f.
std::int32_t STEPS_FOR(const tracker& k, double z, double len, const state& u, const state& d, const evaluation& f);

}  // namespace orvex::beam_step
