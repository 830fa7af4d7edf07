// track.h: one particle through the full map.
//
// WHAT IT IS
//   TRACK follows a particle of kinetic energy W (MeV) from the map's first z plane at (x, y)
//   (cm) with slopes x' = dx/dz, y' = dy/dz (mrad) to its last z plane, through the relativistic
//   Lorentz force of both fields the map carries, each interpolated by the cubic rule
//   (field/interpolate.h). With a frequency f the fields are E(x) cos(wt + phi) and
//   B(x) sin(wt + phi), w = 2 pi f, t = 0 when the particle crosses z0 = RF_TIME_ORIGIN (z = 0,
//   or the map's middle z plane when z = 0 lies outside); without one they are static.
//   The equations, with z the independent variable, the state (x, y, px c, py c, W, t) in cm,
//   MeV, ns, pz = sqrt(p^2 - px^2 - py^2), x' = px / pz, 1 / beta_z = (W + m c^2) / (pz c):
//     dx/dz = x', dy/dz = y', dt/dz = 1 / (beta_z c),
//     d(p c)/dz = q (E / beta_z + (x', y', 1) x c B) (eV/cm: E in V/cm, c B = 299.792458 V/cm
//     per Gs), dW/dz = q (Ex x' + Ey y' + Ez) (eV/cm).
//   The integrator takes z as the independent variable: each step is Gragg's modified midpoint
//   rule with 2, 4, 6 and 8 substeps extrapolated to substeps of 0 (Neville's scheme in the
//   square of the substep: order 8), and steps end on every z plane of the map (and on z0), so
//   each step sees a field that is one cubic in z. Each cell of the map is cut into n equal
//   steps, n chosen at the cell's start from the particle and the field there so that the RF
//   phase, the turn in the magnetic field, the relative change of momentum in the electric
//   field, the betatron phase of either field's focusing (from the transverse gradients at the
//   nearest node) and the transverse cells crossed each advance by at most 0.25 per step (and
//   n at least 1). The plan (n per cell) is recorded, so offset rays and the crest search can
//   follow the same steps, and refinement multiplies every n (2: every step halved). The gain
//   is integrated apart from W, so it keeps its own digits however small it is.
//   The clock: with a frequency, the entry time is found by the secant method so that the
//   particle crosses z0 at t = 0 (to 1e-10 rad of RF phase), starting from the time at
//   constant speed or a guess (the entry time of a neighbouring phase); offset rays take the
//   entry time of the particle they are offset from.
//   A particle is lost when a step would leave the map's transverse region (left_region), when
//   pz would no longer be real (turned_back: it stops or turns back), or when a field value it
//   meets is not finite; the step is halved down to 1e-6 cm to find where, and the last point
//   inside is reported. No value is ever taken past the map.
//
// HOW TO CALL IT
//   track_request r;  r.who = *PARTICLE_NAMED("proton");  r.energy_mev = 10;
//   r.frequency_mhz = 352.21;  r.phase_deg = -30;
//   if (const std::string why = TRACK_REFUSAL(map, r); !why.empty()) refuse;
//   const track_result t = TRACK(map, r);                     // t.gain_mev, t.exit.xp, ...
//   std::vector<track_point> path;  TRACK(map, r, {.trajectory = &path});
//
// ASSUMES AND LIMITS
//   The map is complete with at least 2 nodes on each axis; both fields' arrays are unfolded
//   first (TRACK asks for them; after that it only reads, so threads may track together).
//   TRACK_REFUSAL checks the request against the map; TRACK assumes it passed. A cell takes at
//   most 100,000 steps.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "beam/particle.h"
#include "field/full_map.h"

namespace orvex {

inline constexpr double light_speed_cm_per_ns = 29.9792458;

struct track_request {
    particle who;
    double energy_mev = 0.0;              // kinetic energy at entry
    std::optional<double> frequency_mhz;  // none: static fields
    double phase_deg = 0.0;               // phi, with a frequency
    double x_cm = 0.0, y_cm = 0.0;        // at the first z plane
    double xp_mrad = 0.0, yp_mrad = 0.0;  // slopes dx/dz, dy/dz
};

// The particle at one z: cm, mrad, MeV, ns (t on the RF clock: 0 at z0).
struct track_point {
    double z = 0.0, x = 0.0, y = 0.0, xp = 0.0, yp = 0.0, w = 0.0, t = 0.0;
};

enum class track_loss { none, left_region, turned_back, field_not_finite };

struct track_result {
    track_loss loss = track_loss::none;
    track_point entry;
    track_point last;                // the exit, or the last point inside for a lost particle
    double gain_mev = 0.0;           // exit W - entry W (of the last point when lost)
    double time_of_flight_ns = 0.0;  // last t - entry t
    double entry_clock_ns = 0.0;     // the clock at entry the fields were given (for offset rays)
    double origin_clock_ns = 0.0;    // that clock at z0 (0 to 1e-10 rad of RF phase unless the
                                     // entry time was given; NaN when lost before z0)
    std::int64_t steps = 0;          // steps of the final pass
    int clock_iterations = 0;        // passes to z0 to set the entry time
    std::vector<std::int32_t> plan;  // steps per segment (the cells, one cut at z0)
};

struct track_options {
    const std::vector<std::int32_t>* plan = nullptr;  // follow these steps (times refinement)
    int refinement = 1;                               // every step divided by this
    std::optional<double> entry_time_ns;              // the clock at entry, as given
    std::optional<double> entry_time_guess_ns;        // where the search for it starts
    std::vector<track_point>* trajectory = nullptr;   // every step's end, the entry first
};

// "" when the request can be tracked through the map, else why not ("the start (x, y) =
// (3, 0) cm lies outside the map's transverse region x in [-2, 2], y in [-1.5, 1.5] cm").
std::string TRACK_REFUSAL(const full_map& map, const track_request& request);

track_result TRACK(const full_map& map, const track_request& request, const track_options& options = {});

// "left the transverse region", "turned back", "met a field value that is not finite".
std::string_view LOSS_TEXT(track_loss loss);

}  // namespace orvex
